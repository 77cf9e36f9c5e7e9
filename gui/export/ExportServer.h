#pragma once
// Sends the results table out of the program: to the clipboard, to a text or CSV file, to a
// workbook opened in a spreadsheet, or to Regressi. Every message goes through the main window's
// message box.
#include <functional>
#include <string>
#include <vector>

#include "core/Message.h"
#include "media/export/TableExport.h"

class QWidget;

namespace kinovia {

class RecentFiles;

class ExportServer {
 public:
  using ShowMessage = std::function<int(const Message&)>;
  using Lines = std::vector<std::string>;
  using Matrix = std::vector<std::vector<std::string>>;

  // `recent` keeps the folder of the last exported file; `optionsPath` the Regressi path.
  ExportServer(QWidget* parent, ShowMessage showMessage, RecentFiles& recent,
               std::string optionsPath);

  // The lines joined by line breaks; with `showMessage`, the box that says how to paste them.
  bool CopyToClipboard(const Lines& lines, bool showMessage);
  // Asks for a file name and writes the tab-separated lines (Text) or their CSV form (Csv).
  void ExportToFile(const Lines& lines, ExportFormat format);
  // Writes the matrix as a workbook in the temporary folder and opens it (Xlsx or Ods).
  bool ExportWorkbook(const Matrix& matrix, ExportFormat format);
  // Hands the lines to Regressi; `variables` is the table's number of data columns.
  void ExportRegressi(Lines lines, int variables);

  std::string RegressiPath() const;
  void SetRegressiPath(const std::string& path);

 private:
  int Show(MessageIcon icon, std::vector<TxtId> buttons, const std::vector<TxtId>& lines);
  void SearchRegressi();

  QWidget* parent_;
  ShowMessage showMessage_;
  RecentFiles& recent_;
  std::string optionsPath_;
};

}  // namespace kinovia
