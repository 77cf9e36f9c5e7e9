#!/usr/bin/env bash
# Makes the small clips the video tests read, each beside a raw RGB dump of every frame as
# ffmpeg itself decodes it (CLIP.rgb), so a test can compare frame n with ffmpeg's frame n.
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# Every frame gets its own flat colour plus a gradient, so a neighbour frame is far off.
pattern() {  # WIDTHxHEIGHT FRAMES
  echo "color=c=black:s=$1:r=25,format=rgb24,geq=r='mod(N*37+X,256)':g='mod(N*91+Y*2,256)':b='mod(N*53,256)',trim=end_frame=$2"
}

clip() {  # NAME SIZE FRAMES encoder options...
  local name=$1 size=$2 frames=$3
  shift 3
  ff -f lavfi -i "$(pattern "$size" "$frames")" "$@" "$name"
}

clip mjpeg.avi 96x64 12 -c:v mjpeg -q:v 2 -pix_fmt yuvj444p
clip rgb24.avi 95x63 12 -c:v rawvideo -pix_fmt bgr24
clip rgb32.avi 64x48 8 -c:v rawvideo -pix_fmt bgra
clip mpeg4.avi 96x64 12 -c:v mpeg4 -q:v 2 -bf 2 -g 5
clip h264.mp4 98x66 12 -c:v libx264 -qp 4 -bf 3 -g 5 -pix_fmt yuv444p -movflags +faststart
clip h264.mov 98x66 12 -c:v libx264 -qp 4 -bf 3 -g 5 -pix_fmt yuv444p
clip mpeg2.mpg 96x64 12 -c:v mpeg2video -q:v 2 -bf 2 -g 6
clip wmv2.wmv 96x64 12 -c:v wmv2 -q:v 2
clip one.avi 96x64 1 -c:v mjpeg -q:v 2 -pix_fmt yuvj444p
clip one.mp4 98x66 1 -c:v libx264 -qp 4 -pix_fmt yuv444p
# Frames 6 and later arrive 20 ms late: a variable frame rate (in milliseconds, so that the delay
# survives the container's time base).
ff -f lavfi -i "$(pattern 98x66 12)" -vf "settb=1/1000,setpts='N*40+gte(N,6)*20'" -fps_mode vfr \
  -enc_time_base 1/1000 -video_track_timescale 1000 -c:v libx264 -qp 4 -bf 2 -pix_fmt yuv444p \
  vfr.mp4
# The comment of clips written by Kinovia's own recorder.
clip comment.avi 96x64 3 -c:v mpeg4 -q:v 2 -metadata "comment=Kinovia video FFMpeg MPEG4 códec"
# A clip our AVI reader cannot decode although its name says .AVI.
clip upper.AVI 96x64 6 -c:v libx264 -qp 4 -pix_fmt yuv444p

# Clips as cameras, phones and editing tools really leave them. Widths are not multiples of 16.
clip yuv420.mp4 134x76 12 -c:v libx264 -qp 4 -bf 2 -g 5 -pix_fmt yuv420p
# Phones filming upright store the pictures lying and ask for a turn when shown.
for turn in 90 180 270; do
  ff -i yuv420.mp4 -c copy -metadata:s:v:0 rotate=$turn "rotate$turn.mp4"
done
# Phones filming HDR store 10 bits: swscale filters their chroma, so turning after the
# conversion would not give ffmpeg's colours on the sharp colour edges of this pattern.
ff -f lavfi -i testsrc2=s=134x76:r=25:d=0.48 -c:v libx264 -qp 4 -bf 2 -g 5 -pix_fmt yuv420p10le \
  yuv420-10bit.mp4
ff -i yuv420-10bit.mp4 -c copy -metadata:s:v:0 rotate=90 rotate90-10bit.mp4
rm yuv420-10bit.mp4
# MPEG program streams: MPEG-2 with B-frames (the first picture shown at 0.54 s), MPEG-1 without.
clip mpeg1.mpg 90x52 12 -c:v mpeg1video -q:v 2 -bf 0 -g 4
# Transport streams with B-frames: a plain one and a camcorder's (192-byte packets).
clip h264.ts 106x60 14 -c:v libx264 -qp 4 -bf 2 -g 6 -pix_fmt yuv420p -f mpegts
clip camcorder.m2ts 106x60 14 -c:v libx264 -qp 4 -bf 2 -g 6 -pix_fmt yuv420p -f mpegts \
  -mpegts_m2ts_mode 1
# A transport stream cut inside a picture near its end, as a camcorder's flat battery leaves it.
read -r bytes at < <(ffprobe -v error -select_streams v -show_entries packet=pos,size -of csv=p=0 \
  h264.ts | awk -F, 'NF > 1 && ++n == 10 {print $1, $2}')
head -c $((at + bytes / 2)) h264.ts > cut-picture.ts
# A transport stream that begins within a group of pictures, as a recording split or copied from
# its middle: the pictures before the first keyframe refer to some it lacks.
clip long.ts 106x60 24 -c:v libx264 -qp 4 -bf 2 -g 8 -pix_fmt yuv420p -f mpegts
read -r at < <(ffprobe -v error -select_streams v -show_entries packet=pos -of csv=p=0 long.ts |
  grep -v '^$' | sed -n '4{s/,.*//;p}')
tail -c +$((at / 188 * 188 + 1)) long.ts > cut-start.ts
rm long.ts
# H.264 and HEVC with B-frames in AVI, which keeps no presentation times: keyframes that close
# their group of pictures (IDR), and an open group of pictures whose I-pictures are not IDR.
clip h264bf.avi 106x60 40 -c:v libx264 -qp 4 -bf 2 -g 8 -x264-params scenecut=0 -pix_fmt yuv420p
clip opengop.avi 106x60 40 -c:v libx264 -qp 4 -bf 2 -g 8 -x264-params scenecut=0:open-gop=1 \
  -pix_fmt yuv420p
clip hevc.avi 106x60 40 -c:v libx265 \
  -x265-params log-level=error:keyint=8:min-keyint=8:scenecut=0:open-gop=0:bframes=2 \
  -pix_fmt yuv420p -tag:v HEVC
# The same AVI cut short, as a full card or a pulled cable leaves it: its index is lost, its last
# picture cut in the middle (the ffmpeg tool shows it damaged) or within its header (dropped).
read -r bytes at < <(ffprobe -v error -select_streams v -show_entries packet=pos,size -of csv=p=0 \
  h264bf.avi | sed -n '30{s/,/ /;p}')
head -c $((at + bytes / 2)) h264bf.avi > cut-picture.avi
head -c $((at + 12)) h264bf.avi > cut-header.avi
# Trimmed without re-encoding: the edit list hides the pictures before the cut.
clip long.mp4 106x60 50 -c:v libx264 -qp 4 -bf 2 -g 12 -pix_fmt yuv420p
ff -ss 0.5 -i long.mp4 -t 1 -c copy trimmed.mp4
# Copied into AVI without re-encoding, as stored in MP4 (length prefixes) or behind start codes:
# the AVI declares twice the rate and leaves every other chunk empty.
ff -i long.mp4 -c copy copied.avi
ff -i long.mp4 -c copy -bsf:v h264_mp4toannexb copied-annexb.avi
# A long group of pictures (shorter than the 256 frames after which the pattern repeats): random
# frames must still come by decoding forward from a keyframe.
clip longgop.mp4 74x42 255 -c:v libx264 -qp 8 -bf 3 -g 250 -pix_fmt yuv420p
# HEVC as phones record it, B-frames and short groups of pictures.
clip hevc.mov 90x52 40 -c:v libx265 -x265-params log-level=error:keyint=12:min-keyint=12:bframes=3 \
  -pix_fmt yuv420p -tag:v hvc1
ff -i hevc.mov -c copy hevc-copied.avi
# The same long group of pictures in a program stream, which GStreamer reads first.
ff -i longgop.mp4 -c:v mpeg2video -q:v 4 -g 250 -bf 2 longgop.mpg
# VP9 with alternate-reference frames (hidden pictures that are never shown).
clip vp9.webm 90x52 40 -c:v libvpx-vp9 -crf 10 -b:v 0 -auto-alt-ref 1 -lag-in-frames 16 \
  -deadline realtime -cpu-used 8 -row-mt 0 -pix_fmt yuv420p
# 4:2:2 in 10 bits, tagged BT.709, behind an audio stream that comes first.
ff -f lavfi -i sine=d=0.5 -f lavfi -i "$(pattern 98x54 10)" -map 0:a -map 1:v -c:a pcm_s16le \
  -c:v libx264 -qp 4 -pix_fmt yuv422p10le -colorspace bt709 -color_primaries bt709 \
  -color_trc bt709 audiofirst.mkv
# An untagged HD clip: the ffmpeg tool converts it with BT.601, GStreamer would guess BT.709.
clip hd.mp4 1280x720 4 -c:v libx264 -qp 8 -pix_fmt yuv420p
# Motion-JPEG as cameras write it, chroma halved: across then also down in AVI, across in Matroska.
clip mjpeg420.avi 98x66 12 -c:v mjpeg -q:v 2 -pix_fmt yuvj420p
clip mjpeg422.mkv 98x66 12 -c:v mjpeg -q:v 2 -pix_fmt yuvj422p
# Eight-bit pictures with a palette, as scientific cameras and image tools write them: the AVI
# gives the palette with the first frame only.
clip paletted.avi 96x64 12 -c:v rawvideo -pix_fmt pal8
# Full-range pictures tagged as such.
clip fullrange.mov 90x52 6 -c:v libx264 -qp 4 -pix_fmt yuvj420p -color_range pc

for f in *.avi *.AVI *.mp4 *.mov *.mpg *.wmv *.ts *.m2ts *.webm *.mkv; do
  ff -i "$f" -fps_mode passthrough -f rawvideo -pix_fmt rgb24 "$f.rgb"
done

# Damaged files, made after the dumps: they have no reference.
head -c 11000 mjpeg.avi > truncated.avi
head -c 9000 h264.mp4 > truncated.mp4
head -c 20000 /dev/urandom > garbage.avi
cp garbage.avi garbage.mp4
ff -f lavfi -i sine=d=0.5 -c:a aac audio.mp4
printf 'RIFF\377\377\377\177AVI LIST\010\000\000\000hdrl' > hostile.avi
