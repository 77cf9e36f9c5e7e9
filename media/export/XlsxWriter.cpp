#include "media/export/XlsxWriter.h"

#include <cmath>
#include <vector>

#include "core/TextPieces.h"
#include "media/export/ExportFileWrite.h"
#include "media/export/ZipPackage.h"
#include "resources/TxtExport.h"

namespace kinovia {
namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kSheetNamespace =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kPackageRelationships =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kSheetPart = "xl/worksheets/sheet1.xml";
// Bytes of XML a number cell takes, about: enough to reserve the sheet's text at once.
constexpr std::size_t kCellBytes = 40;

// "A", "B", ... "Z", "AA", ...: the letters of a cell reference.
std::string ColumnLetters(std::size_t column) {
  std::string letters;
  for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

// A width in characters as a workbook stores it: whole pixels of Calibri 11's 7-pixel digits,
// plus its 5 pixels of padding, in 1/256 of a digit.
double StoredWidth(double characters) {
  constexpr double kDigitPixels = 7;
  constexpr double kPaddingPixels = 5;
  const double pixels = std::floor(characters * kDigitPixels + 0.5) + kPaddingPixels;
  return std::floor(pixels / kDigitPixels * 256) / 256;
}

void AppendColumns(std::string& out, const Spreadsheet& sheet) {
  if (sheet.columnWidths.empty()) return;
  out += "<cols>";
  for (std::size_t c = 0; c < sheet.columnWidths.size(); ++c) {
    const std::string index = std::to_string(c + 1);
    out += "<col min=\"" + index + "\" max=\"" + index + "\" width=\"";
    AppendShortestNumber(out, StoredWidth(sheet.columnWidths[c]));
    out += "\" customWidth=\"1\"/>";
  }
  out += "</cols>";
}

// The rows above the first data row stay in view while the data scrolls under them.
void AppendView(std::string& out, const Spreadsheet& sheet) {
  out += R"(<sheetViews><sheetView tabSelected="1" workbookViewId="0">)";
  if (sheet.headerRows > 0) {
    std::string firstData = "A";
    firstData += std::to_string(sheet.headerRows + 1);
    out += "<pane ySplit=\"" + std::to_string(sheet.headerRows) + "\" topLeftCell=\"" + firstData +
           R"(" activePane="bottomLeft" state="frozen"/>)" +
           R"(<selection pane="bottomLeft" activeCell=")" + firstData + "\" sqref=\"" + firstData +
           "\"/>";
  }
  out += "</sheetView></sheetViews>";
}

// Texts are written in the cell rather than in a shared table: only the header rows and the
// undefined values have any, and each reads where it stands.
void AppendCell(std::string& out, const SheetCell& cell, std::string_view reference) {
  if (cell.kind == SheetCell::Kind::Empty) return;
  out += "<c r=\"";
  out += reference;
  if (cell.kind == SheetCell::Kind::Number) {
    out += "\"><v>";
    AppendShortestNumber(out, cell.number);
    out += "</v></c>";
    return;
  }
  // Kept as written: the angle's sentence ends in a space.
  out += R"(" t="inlineStr"><is><t xml:space="preserve">)";
  AppendXmlEscaped(out, cell.text);
  out += "</t></is></c>";
}

void AppendSheetData(std::string& out, const Spreadsheet& sheet) {
  std::vector<std::string> letters;
  std::string reference;
  out += "<sheetData>";
  for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
    const std::string row = std::to_string(r + 1);
    out += "<row r=\"" + row + "\">";
    const auto& cells = sheet.rows[r];
    while (letters.size() < cells.size()) letters.push_back(ColumnLetters(letters.size()));
    for (std::size_t c = 0; c < cells.size(); ++c) {
      reference.assign(letters[c]).append(row);
      AppendCell(out, cells[c], reference);
    }
    out += "</row>";
  }
  out += "</sheetData>";
}

std::string Relationship(std::string_view id, std::string_view type, std::string_view target) {
  return "<Relationship Id=\"" + std::string(id) + "\" Type=\"" + std::string(kRelationships) +
         "/" + std::string(type) + "\" Target=\"" + std::string(target) + "\"/>";
}

std::string Relationships(const std::string& items) {
  return std::string(kXmlDeclaration) + "<Relationships xmlns=\"" +
         std::string(kPackageRelationships) + "\">" + items + "</Relationships>";
}

std::string ContentTypesXml() {
  const auto override = [](std::string_view part, std::string_view type) {
    return "<Override PartName=\"/" + std::string(part) +
           "\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml." +
           std::string(type) + "+xml\"/>";
  };
  return std::string(kXmlDeclaration) +
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
         R"(<Default Extension="xml" ContentType="application/xml"/>)" +
         override("xl/workbook.xml", "sheet.main") + override(kSheetPart, "worksheet") +
         override("xl/styles.xml", "styles") + "</Types>";
}

std::string WorkbookXml() {
  std::string out(kXmlDeclaration);
  out += "<workbook xmlns=\"" + std::string(kSheetNamespace) + "\" xmlns:r=\"" +
         std::string(kRelationships) + "\"><bookViews><workbookView/></bookViews><sheets>" +
         "<sheet name=\"";
  AppendXmlEscaped(out, Txt(txt::ExportSheetName));
  out += R"(" sheetId="1" r:id="rId1"/></sheets></workbook>)";
  return out;
}

// The one cell format every cell has: the default font, no fill, no border, no number format.
std::string StylesXml() {
  return std::string(kXmlDeclaration) + "<styleSheet xmlns=\"" + std::string(kSheetNamespace) +
         "\">"
         R"(<fonts count="1"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>)"
         R"(<fills count="2"><fill><patternFill patternType="none"/></fill>)"
         R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
         R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
         R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
         R"(<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>)"
         R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
         "</styleSheet>";
}

bool WritePackage(const Spreadsheet& sheet, const std::string& path) {
  std::vector<PackagePart> parts;
  parts.push_back({"[Content_Types].xml", ContentTypesXml()});
  parts.push_back(
      {"_rels/.rels", Relationships(Relationship("rId1", "officeDocument", "xl/workbook.xml"))});
  parts.push_back({"xl/workbook.xml", WorkbookXml()});
  parts.push_back({"xl/_rels/workbook.xml.rels",
                   Relationships(Relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                                 Relationship("rId2", "styles", "styles.xml"))});
  parts.push_back({"xl/styles.xml", StylesXml()});
  parts.push_back({std::string(kSheetPart), XlsxSheetXml(sheet)});
  return WriteZipPackage(path, parts);
}

}  // namespace

std::string XlsxSheetXml(const Spreadsheet& sheet) {
  std::string out;
  out.reserve(sheet.CellCount() * kCellBytes + 1024);
  out += kXmlDeclaration;
  out += "<worksheet xmlns=\"";
  out += kSheetNamespace;
  out += "\" xmlns:r=\"";
  out += kRelationships;
  out += "\">";
  AppendView(out, sheet);
  AppendColumns(out, sheet);
  AppendSheetData(out, sheet);
  out += "</worksheet>\n";
  return out;
}

Result<void> WriteXlsx(const Spreadsheet& sheet, const std::string& path) {
  return WriteThroughTemporary(
      path, [&](const std::string& temporary) { return WritePackage(sheet, temporary); });
}

}  // namespace kinovia
