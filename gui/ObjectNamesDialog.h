#pragma once
// The name-and-colour dialog: one row per object with its symbol in its colour, its number, its
// visibility and its name; closing it writes them back into the session.
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QGridLayout;

namespace kinovia {

class Session;

struct ObjectRow {
  std::string name;
  std::uint32_t colour = 0;  // 0x00BBGGRR
  bool visible = true;
};

class ObjectNamesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ObjectNamesDialog(QWidget* parent = nullptr);

  // Fills the rows from the session's active store; `transparent` adds the sheet's rows.
  void Load(const Session& data, bool transparent);
  // Writes names, visibilities and colours back.
  void Store(Session& data) const;
  std::vector<ObjectRow>& Rows() { return rows_; }
  std::uint32_t ElementColour() const { return elementColour_; }

 private:
  void Build(bool transparent);
  void ChooseColour(int row);

  std::vector<ObjectRow> rows_;
  std::uint32_t elementColour_ = 0;
  QGridLayout* grid_ = nullptr;
  QWidget* table_ = nullptr;
};

}  // namespace kinovia
