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
# Frames 6 and later arrive 20 ms late: a variable frame rate.
ff -f lavfi -i "$(pattern 98x66 12)" -vf "setpts='N/(25*TB)+gte(N,6)*0.02/TB'" -fps_mode vfr \
  -c:v libx264 -qp 4 -bf 2 -pix_fmt yuv444p vfr.mp4
# The comment of clips written by Kinovia's own recorder.
clip comment.avi 96x64 3 -c:v mpeg4 -q:v 2 -metadata "comment=Kinovia video FFMpeg MPEG4 códec"
# A clip our AVI reader cannot decode although its name says .AVI.
clip upper.AVI 96x64 6 -c:v libx264 -qp 4 -pix_fmt yuv444p

for f in *.avi *.AVI *.mp4 *.mov *.mpg *.wmv; do
  ff -i "$f" -fps_mode passthrough -f rawvideo -pix_fmt rgb24 "$f.rgb"
done

# Damaged files, made after the dumps: they have no reference.
head -c 11000 mjpeg.avi > truncated.avi
head -c 9000 h264.mp4 > truncated.mp4
head -c 20000 /dev/urandom > garbage.avi
cp garbage.avi garbage.mp4
ff -f lavfi -i sine=d=0.5 -c:a aac audio.mp4
printf 'RIFF\377\377\377\177AVI LIST\010\000\000\000hdrl' > hostile.avi
