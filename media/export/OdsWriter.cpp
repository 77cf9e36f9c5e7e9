#include "media/export/OdsWriter.h"

#include <algorithm>
#include <charconv>

#include "core/TextPieces.h"
#include "media/export/ExportFileWrite.h"
#include "media/export/ZipPackage.h"
#include "resources/TxtExport.h"

namespace kinovia {
namespace {

constexpr std::string_view kMimeType = "application/vnd.oasis.opendocument.spreadsheet";
constexpr std::string_view kOfficeNamespaces =
    R"( xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0")"
    R"( xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0")"
    R"( xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")"
    R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0")"
    R"( xmlns:config="urn:oasis:names:tc:opendocument:xmlns:config:1.0")"
    R"( xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0")"
    R"( office:version="1.2")";
// The width of one character of the default font (Liberation Sans 10 pt), in centimetres.
constexpr double kCharacterWidthCm = 0.21;
// Bytes of XML a number cell takes, about: enough to reserve the content's text at once rather
// than copy tens of megabytes each time it outgrows its buffer.
constexpr std::size_t kCellBytes = 72;

void AppendCell(std::string& out, const SheetCell& cell) {
  switch (cell.kind) {
    case SheetCell::Kind::Empty:
      out += "<table:table-cell/>";
      break;
    case SheetCell::Kind::Number:
      out += R"(<table:table-cell office:value-type="float" office:value=")";
      AppendShortestNumber(out, cell.number);
      out += "\"/>";
      break;
    case SheetCell::Kind::Text:
      out += R"(<table:table-cell office:value-type="string"><text:p>)";
      AppendXmlEscaped(out, cell.text);
      out += "</text:p></table:table-cell>";
      break;
  }
}

void AppendRows(std::string& out, const Spreadsheet& sheet, std::size_t from, std::size_t to) {
  for (std::size_t r = from; r < to; ++r) {
    out += "<table:table-row>";
    for (const SheetCell& cell : sheet.rows[r]) AppendCell(out, cell);
    out += "</table:table-row>\n";
  }
}

// Lengths and values are written with to_chars: printf would follow the user's decimal comma.
void AppendColumnStyles(std::string& out, const Spreadsheet& sheet) {
  for (std::size_t c = 0; c < sheet.columnWidths.size(); ++c) {
    char width[32];
    const auto [end, error] =
        std::to_chars(width, width + sizeof width, sheet.columnWidths[c] * kCharacterWidthCm,
                      std::chars_format::fixed, 2);
    out += R"(<style:style style:name="co)" + std::to_string(c) +
           R"(" style:family="table-column"><style:table-column-properties style:column-width=")" +
           std::string(width, error == std::errc() ? end : width) + "cm\"/></style:style>\n";
  }
}

std::string ManifestXml() {
  return std::string(R"(<?xml version="1.0" encoding="UTF-8"?>)") + "\n" +
         R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">)" +
         R"(<manifest:file-entry manifest:full-path="/" manifest:version="1.2" manifest:media-type=")" +
         std::string(kMimeType) + "\"/>" +
         R"(<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>)" +
         R"(<manifest:file-entry manifest:full-path="settings.xml" manifest:media-type="text/xml"/>)" +
         "</manifest:manifest>\n";
}

bool WritePackage(const Spreadsheet& sheet, const std::string& path) {
  // The mime type comes first and uncompressed, so that a reader knows the package by its start.
  std::vector<PackagePart> parts;
  parts.push_back({"mimetype", std::string(kMimeType), PackagePart::Storage::Stored});
  parts.push_back({"content.xml", OdsContentXml(sheet)});
  parts.push_back({"settings.xml", OdsSettingsXml(sheet)});
  parts.push_back({"META-INF/manifest.xml", ManifestXml()});
  return WriteZipPackage(path, parts);
}

}  // namespace

std::string OdsContentXml(const Spreadsheet& sheet) {
  std::string out;
  out.reserve(sheet.CellCount() * kCellBytes + 4096);
  out += R"(<?xml version="1.0" encoding="UTF-8"?>)";
  out += "\n<office:document-content";
  out += kOfficeNamespaces;
  out += ">\n<office:automatic-styles>\n";
  AppendColumnStyles(out, sheet);
  out += "</office:automatic-styles>\n<office:body><office:spreadsheet><table:table table:name=\"";
  AppendXmlEscaped(out, Txt(txt::ExportSheetName));
  out += "\">\n";
  for (std::size_t c = 0; c < sheet.columnWidths.size(); ++c)
    out += R"(<table:table-column table:style-name="co)" + std::to_string(c) + "\"/>";
  out += "\n";
  const std::size_t header =
      std::min(sheet.rows.size(), static_cast<std::size_t>(sheet.headerRows));
  if (header > 0) {
    out += "<table:table-header-rows>\n";
    AppendRows(out, sheet, 0, header);
    out += "</table:table-header-rows>\n";
  }
  AppendRows(out, sheet, header, sheet.rows.size());
  out += "</table:table></office:spreadsheet></office:body></office:document-content>\n";
  return out;
}

// The view of the sheet: the header rows frozen above the scrolling data.
std::string OdsSettingsXml(const Spreadsheet& sheet) {
  const std::string rows = std::to_string(sheet.headerRows);
  const auto item = [](const char* name, const char* type, const std::string& value) {
    return std::string(R"(<config:config-item config:name=")") + name + R"(" config:type=")" +
           type + "\">" + value + "</config:config-item>";
  };
  std::string out = R"(<?xml version="1.0" encoding="UTF-8"?>)";
  out += "\n<office:document-settings";
  out += kOfficeNamespaces;
  out += R"(><office:settings><config:config-item-set config:name="ooo:view-settings">)"
         R"(<config:config-item-map-indexed config:name="Views"><config:config-item-map-entry>)";
  out += item("ViewId", "string", "view1");
  out +=
      R"(<config:config-item-map-named config:name="Tables"><config:config-item-map-entry config:name=")";
  AppendXmlEscaped(out, Txt(txt::ExportSheetName));
  out += "\">";
  // The items LibreOffice itself writes for rows frozen at the top: no split across the columns
  // (mode 0), a fixed split (mode 2) under the header rows, the cursor on the first data row.
  if (sheet.headerRows > 0) {
    out += item("CursorPositionX", "int", "0") + item("CursorPositionY", "int", rows) +
           item("HorizontalSplitMode", "short", "0") + item("VerticalSplitMode", "short", "2") +
           item("HorizontalSplitPosition", "int", "0") +
           item("VerticalSplitPosition", "int", rows) + item("ActiveSplitRange", "short", "2") +
           item("PositionLeft", "int", "0") + item("PositionRight", "int", "0") +
           item("PositionTop", "int", "0") + item("PositionBottom", "int", rows);
  }
  out += "</config:config-item-map-entry></config:config-item-map-named>";
  out += R"(<config:config-item config:name="ActiveTable" config:type="string">)";
  AppendXmlEscaped(out, Txt(txt::ExportSheetName));
  out +=
      "</config:config-item>"
      "</config:config-item-map-entry></config:config-item-map-indexed>"
      "</config:config-item-set></office:settings></office:document-settings>\n";
  return out;
}

Result<void> WriteOds(const Spreadsheet& sheet, const std::string& path) {
  return WriteThroughTemporary(
      path, [&](const std::string& temporary) { return WritePackage(sheet, temporary); });
}

}  // namespace kinovia
