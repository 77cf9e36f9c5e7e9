// The workbooks Kinovia writes, read back by the real LibreOffice: every cell with its kind and
// value, and failures that leave nothing behind.
#include <gtest/gtest.h>

#include <zip.h>

#include <clocale>
#include <filesystem>
#include <tuple>
#include <vector>

#include "core/Numbers.h"
#include "media/export/TableExport.h"
#include "resources/TxtExport.h"
#include "tests/export/LibreOfficeCsv.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

fs::path FreshFolder(const std::string& name) {
  const fs::path folder = fs::path(::testing::TempDir()) / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

// A small table as the results window shows it under Spanish settings.
std::vector<std::vector<std::string>> SpanishMatrix() {
  return {{"Ángulo de rotación de los ejes en el sentido trigonométrico (rad) : ", "0,5", ""},
          {"", "t", "ax"},
          {"", "s", "m/s²"},
          {"", "tiempo", "Componente x de la aceleración bola"},
          {"1", "0", "#Número!"},
          {"2", "0,04", "-9,81"},
          {"3", "0,08", ""},
          {"4", "0,12", "1,5E-5"},
          {"5", "0,16", "0,687"}};
}

// Spanish settings as the desktop program runs under them: Qt installs the user's locale, whose
// numbers have a decimal comma.
class Workbooks : public ::testing::TestWithParam<ExportFormat> {
 protected:
  void SetUp() override {
    SetDecimalSeparator(',');
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "es_ES.UTF-8")) << "tools/setup.sh makes this locale";
  }
  void TearDown() override {
    std::setlocale(LC_NUMERIC, "C");
    SetDecimalSeparator('.');
  }
};
class EveryFormat : public Workbooks {};

std::string FormatName(const ::testing::TestParamInfo<ExportFormat>& info) {
  return std::string(ExtensionOf(info.param));
}

TEST_P(Workbooks, LibreOfficeReadsEveryCellWithItsKind) {
  if (!test::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  const fs::path folder = FreshFolder("sheet_" + std::string(ExtensionOf(GetParam())));
  const std::string path = (folder / "tabla").string() + "." + std::string(ExtensionOf(GetParam()));
  ExportedTable table;
  table.matrix = SpanishMatrix();
  ASSERT_TRUE(WriteExport(GetParam(), table, path).Ok());

  const auto rows = test::ConvertWithLibreOffice({path}, folder).front();
  ASSERT_EQ(rows.size(), table.matrix.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    ASSERT_EQ(rows[r].size(), 3u) << r;
    for (std::size_t c = 0; c < 3; ++c) {
      const std::string& written = table.matrix[r][c];
      const test::CsvCell& read = rows[r][c];
      const bool number = r >= 4 && !written.empty() && written != "#Número!";
      if (number) {
        EXPECT_FALSE(read.quoted) << r << "," << c << " came back as text: " << read.text;
        EXPECT_EQ(test::NumberOf(read.text), *TextToReal(written)) << r << "," << c;
      } else {
        EXPECT_EQ(read.text, written) << r << "," << c;
        EXPECT_EQ(read.quoted, !written.empty()) << r << "," << c;
      }
    }
  }
}

TEST_P(EveryFormat, AFailedWriteLeavesNothing) {
  const fs::path folder = FreshFolder("failed_" + std::string(ExtensionOf(GetParam())));
  const std::string path = (folder / "missing" / "tabla.out").string();
  const auto written = WriteExport(GetParam(), {{"a", "b"}, SpanishMatrix()}, path);
  ASSERT_FALSE(written.Ok());
  EXPECT_EQ(written.Failure().lines.front().text, Txt(txt::ExportFileFailed));
  EXPECT_FALSE(fs::exists(folder / "missing"));
  EXPECT_TRUE(fs::is_empty(folder));
}

INSTANTIATE_TEST_SUITE_P(Formats, Workbooks,
                         ::testing::Values(ExportFormat::Xlsx, ExportFormat::Ods), FormatName);
INSTANTIATE_TEST_SUITE_P(Formats, EveryFormat,
                         ::testing::Values(ExportFormat::Xlsx, ExportFormat::Ods,
                                           ExportFormat::Text, ExportFormat::Csv),
                         FormatName);

// One part of a zip package, empty when it is missing.
std::string PartText(const std::string& package, const char* part) {
  zip_t* archive = zip_open(package.c_str(), ZIP_RDONLY, nullptr);
  if (!archive) return {};
  std::string text;
  zip_stat_t stat;
  if (zip_stat(archive, part, 0, &stat) == 0) {
    if (zip_file_t* file = zip_fopen(archive, part, 0)) {
      text.resize(stat.size);
      if (zip_fread(file, text.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
        text.clear();
      zip_fclose(file);
    }
  }
  zip_close(archive);
  return text;
}

// Headless LibreOffice converts without a view, so the frozen rows are read from the package
// itself: the view items Calc needs to freeze the four header rows of the sheet it opens.
TEST(OdsView, TheHeaderRowsAreFrozenOnTheSheet) {
  const std::string path = (FreshFolder("ods_view") / "tabla.ods").string();
  ASSERT_TRUE(WriteExport(ExportFormat::Ods, {{}, SpanishMatrix()}, path).Ok());
  const std::string settings = PartText(path, "settings.xml");
  const std::string table =
      "<config:config-item-map-entry config:name=\"" + Txt(txt::ExportSheetName) + "\">";
  ASSERT_NE(settings.find(table), std::string::npos) << settings;
  const std::string view = settings.substr(settings.find(table));
  for (const auto& [name, value] : {std::pair{"HorizontalSplitMode", "0"},
                                    {"VerticalSplitMode", "2"},
                                    {"VerticalSplitPosition", "4"},
                                    {"ActiveSplitRange", "2"},
                                    {"PositionTop", "0"},
                                    {"PositionBottom", "4"}}) {
    const std::string pattern = std::string("config:name=\"") + name + "\"";
    const auto at = view.find(pattern);
    ASSERT_NE(at, std::string::npos) << name;
    const auto start = view.find('>', at) + 1;
    EXPECT_EQ(view.substr(start, view.find('<', start) - start), value) << name;
  }
  EXPECT_NE(settings.find("<config:config-item config:name=\"ActiveTable\" "
                          "config:type=\"string\">" +
                          Txt(txt::ExportSheetName) + "<"),
            std::string::npos);
  EXPECT_NE(PartText(path, "content.xml")
                .find("<table:table table:name=\"" + Txt(txt::ExportSheetName) + "\""),
            std::string::npos);
}

// "%.16G" would store 0.687 as 0.6870000000000001: each number is kept in the fewest digits that
// read back as the same value, with "." under the decimal comma.
TEST_F(Workbooks, NumbersAreStoredInTheirShortestText) {
  const fs::path folder = FreshFolder("shortest");
  for (const auto& [format, part, before, after] :
       {std::tuple{ExportFormat::Xlsx, "xl/worksheets/sheet1.xml", "<v>", "</v>"},
        {ExportFormat::Ods, "content.xml", "office:value=\"", "\""}}) {
    const std::string path = (folder / "tabla.").string() + std::string(ExtensionOf(format));
    ASSERT_TRUE(WriteExport(format, {{}, SpanishMatrix()}, path).Ok());
    const std::string text = PartText(path, part);
    for (const char* number : {"0.687", "0.04", "-9.81", "1.5e-05"})
      EXPECT_NE(text.find(before + std::string(number) + after), std::string::npos)
          << part << ": " << number;
    EXPECT_EQ(text.find("0.6870000"), std::string::npos) << part;
  }
}

// What Excel and Calc read for the view of the sheet: the four header rows frozen above the
// data, which opens scrolled to its first row, and the columns as wide as their longest text.
TEST(XlsxView, TheHeaderRowsAreFrozenAndTheColumnsSized) {
  const std::string path = (FreshFolder("xlsx_view") / "tabla.xlsx").string();
  ASSERT_TRUE(WriteExport(ExportFormat::Xlsx, {{}, SpanishMatrix()}, path).Ok());
  const std::string sheet = PartText(path, "xl/worksheets/sheet1.xml");
  const auto attribute = [](const std::string& element, const std::string& name) {
    const auto at = element.find(" " + name + "=\"");
    if (at == std::string::npos) return std::string("(none)");
    const auto start = at + name.size() + 3;
    return element.substr(start, element.find('"', start) - start);
  };
  const auto elements = [&](const std::string& tag) {
    std::vector<std::string> found;
    for (auto at = sheet.find("<" + tag + " "); at != std::string::npos;
         at = sheet.find("<" + tag + " ", at + 1))
      found.push_back(sheet.substr(at, sheet.find('>', at) - at));
    return found;
  };
  const auto panes = elements("pane");
  ASSERT_EQ(panes.size(), 1u) << sheet;
  for (const auto& [name, value] : {std::pair{"ySplit", "4"},
                                    {"xSplit", "(none)"},
                                    {"topLeftCell", "A5"},
                                    {"activePane", "bottomLeft"},
                                    {"state", "frozen"}})
    EXPECT_EQ(attribute(panes.front(), name), value) << name;
  EXPECT_LT(sheet.find("<pane "), sheet.find("<sheetData>"));

  const auto columns = elements("col");
  ASSERT_EQ(columns.size(), 3u);
  const auto width = [&](std::size_t c) { return test::NumberOf(attribute(columns[c], "width")); };
  EXPECT_EQ(width(0), width(1));
  EXPECT_GT(width(2), 3 * width(0)) << "the long quantity name widens its column";
  EXPECT_EQ(attribute(columns[2], "customWidth"), "1");
}

TEST(ExportNames, WorkbookNamesAreFreshAndForcedExtensionsReplaced) {
  const std::string first = FreshWorkbookPath(ExportFormat::Xlsx);
  EXPECT_TRUE(first.ends_with(".xlsx"));
  std::ofstream(first) << "taken";
  const std::string second = FreshWorkbookPath(ExportFormat::Xlsx);
  EXPECT_NE(second, first);
  fs::remove(first);
  EXPECT_EQ(WithExtension("/home/a/Tabla", ExportFormat::Text), "/home/a/Tabla.txt");
  EXPECT_EQ(WithExtension("/home/a/Tabla.dat", ExportFormat::Text), "/home/a/Tabla.txt");
  EXPECT_EQ(WithExtension("/home/a/datos.v1/t", ExportFormat::Csv), "/home/a/datos.v1/t.csv");
}

}  // namespace
}  // namespace kinovia
