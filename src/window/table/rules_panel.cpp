#include "window/table/rules_panel.h"

#include <QLabel>
#include <QPushButton>

#include "shell/main_window.h"
#include "window/table/table_elements.h"

namespace {

QFont PanelFont(const tesva::PanelText& text, const QFont& standard) {
  QFont font = standard;
  if (!text.font.empty()) {
    // The named face where it is installed; else one that measures alike.
    QString named = QString::fromUtf8(text.font.data(), text.font.size());
    font = SansFont({named, QStringLiteral("Liberation Sans"), QStringLiteral("Arial")},
                    standard.pointSizeF());
  }
  if (text.pointSize > 0) font.setPointSizeF(text.pointSize * TableScale());
  font.setBold(text.bold);
  return font;
}

}  // namespace

RulesPanel::RulesPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("Picture1"));
  setGeometry(ToPixels(*tesva::FindPlace("Picture1")));
  setAutoFillBackground(true);
  QPalette navy = palette();
  navy.setColor(QPalette::Window, ToColor(tesva::kNavy));
  setPalette(navy);
  // A move over the panel is not a move over the table under it.
  setAttribute(Qt::WA_NoMousePropagation);
  CreateTexts();
  CreateOkButton();
}

void RulesPanel::CreateTexts() {
  for (const tesva::PanelText& text : tesva::kRulesPanelTexts) {
    auto* label = new QLabel(QString::fromUtf8(text.caption.data(), text.caption.size()), this);
    label->setObjectName(QString::fromUtf8(text.name.data(), text.name.size()));
    label->setFont(PanelFont(text, font()));
    QPalette colour = label->palette();
    colour.setColor(QPalette::WindowText, ToColor(text.colour));
    label->setPalette(colour);

    // Every text fits its words; it never reaches past the panel's edge.
    QRect place = ToPixels(text.place);
    int room = width() - place.left() - 4;
    if (text.wordWrap) {
      label->setWordWrap(true);
      int width = std::min(place.width(), room);
      label->setGeometry(place.left(), place.top(), width, label->heightForWidth(width));
    } else {
      QSize size = label->sizeHint();
      label->setGeometry(place.left(), place.top(), std::min(size.width(), room), size.height());
    }
  }
}

void RulesPanel::CreateOkButton() {
  ok_ = new QPushButton(
      QString::fromUtf8(tesva::kCommand1Caption.data(), tesva::kCommand1Caption.size()), this);
  ok_->setObjectName(QStringLiteral("Command1"));
  ok_->setGeometry(ToPixels(tesva::kCommand1Place));
  QPalette face = ok_->palette();
  face.setColor(QPalette::Button, ToColor(tesva::kButtonFace));
  face.setColor(QPalette::ButtonText, Qt::black);
  ok_->setPalette(face);
  connect(ok_, &QPushButton::clicked, this, &RulesPanel::okClicked);
}
