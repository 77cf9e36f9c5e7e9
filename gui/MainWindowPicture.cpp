// The Presentación menu's picture items: "Ocultar la imagen", which leaves the marks on a white
// sheet, and "Colores", the colour of each object's marks and of the axes and scale.
#include <QAction>
#include <QColorDialog>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "gui/MainWindow.h"
#include "gui/QtText.h"
#include "gui/VideoView.h"
#include "logic/session/Session.h"
#include "resources/TxtApp.h"

namespace kinovia {

namespace {

QIcon Swatch(std::uint32_t bgr) {
  QPixmap square(16, 16);
  square.fill(QColourOf(bgr));
  QPainter(&square).drawRect(0, 0, 15, 15);
  return QIcon(square);
}

std::uint32_t BgrOf(const QColor& colour) {
  return std::uint32_t(colour.red()) | std::uint32_t(colour.green()) << 8 |
         std::uint32_t(colour.blue()) << 16;
}

// The colour dialog starting on `current`; nullopt when cancelled.
std::optional<std::uint32_t> AskColour(QWidget* parent, std::uint32_t current,
                                       const QString& title) {
  const QColor chosen = QColorDialog::getColor(QColourOf(current), parent, title);
  if (!chosen.isValid()) return std::nullopt;
  return BgrOf(chosen);
}

}  // namespace

void MainWindow::BuildPictureItems(QMenu* menu) {
  pictureItems_.hide = menu->addAction(QTxt(txt::MenuOcultarImagen));
  pictureItems_.hide->setObjectName("MenuOcultarImagen");
  pictureItems_.hide->setCheckable(true);
  connect(pictureItems_.hide, &QAction::toggled, view_, &VideoView::SetPictureHidden);
  QMenu* colours = menu->addMenu(QTxt(txt::MenuColores));
  colours->setObjectName("MenuColores");
  pictureItems_.colours = colours->menuAction();
  // The objects change with the marks per frame: the list is built when it opens.
  connect(colours, &QMenu::aboutToShow, this, [this, colours] { FillColoursMenu(colours); });
}

void MainWindow::FillColoursMenu(QMenu* menu) {
  menu->clear();
  for (int object = 0; object < session_->MarksPerFrame(); ++object) {
    const QString name = QString::fromStdString(session_->ObjectName(object));
    menu->addAction(Swatch(session_->ObjectColour(object)), name, this, [this, object, name] {
      if (const auto colour = AskColour(this, session_->ObjectColour(object), name))
        session_->SetObjectColour(object, *colour);
      onSessionChanged();
    });
  }
  menu->addSeparator();
  const QString element = QTxt(txt::NomCouleurElement);
  menu->addAction(Swatch(session_->ElementColour()), element, this, [this, element] {
    if (const auto colour = AskColour(this, session_->ElementColour(), element))
      session_->SetElementColour(*colour);
    onSessionChanged();
  });
}

void MainWindow::UpdatePictureItems(const MenuState& state) {
  pictureItems_.hide->setVisible(state.hideImage);
  pictureItems_.hide->setEnabled(ClipOpen());
  pictureItems_.colours->setVisible(state.hideImage);
  pictureItems_.colours->setEnabled(ClipOpen());
}

}  // namespace kinovia
