#include "template_controls.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace onefortwo {

QFont TemplateFont(const DialogTemplate& dialog) {
  QFont font = QApplication::font();
  font.setPointSize(dialog.point_size);
  return font;
}

DialogBaseUnits DialogBaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  return DialogBaseUnitsFor(
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
      metrics.height());
}

QRect DialogRect(int x, int y, int width, int height, DialogBaseUnits base) {
  const Rect r = MapDialogRect(x, y, width, height, base);
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

TemplateControls::TemplateControls(const DialogTemplate& dialog, QWidget* client,
                                   const OwnerDrawn& owner_drawn) {
  const QFont font = TemplateFont(dialog);
  base_ = DialogBaseUnitsOf(font);
  // The desktop's font may be wider for some texts than the font the templates were drawn
  // in: where a label would not fit its place, the horizontal base unit grows until every
  // label fits, and the whole dialog widens in proportion.
  const QFontMetrics metrics(font);
  for (size_t i = 0; i < dialog.control_count; ++i) {
    const DialogControl& control = dialog.controls[i];
    if (control.kind != ControlKind::static_left && control.kind != ControlKind::static_center)
      continue;
    const int needed = metrics.horizontalAdvance(QString::fromLatin1(control.text));
    while (DialogRect(control.x, control.y, control.width, control.height, base_).width() < needed)
      ++base_.x;
  }
  client_size_ = DialogRect(0, 0, dialog.width, dialog.height, base_).size();
  client->setFont(font);
  client->resize(client_size_);
  for (size_t i = 0; i < dialog.control_count; ++i) {
    const DialogControl& control = dialog.controls[i];
    QWidget* widget = Make(control, client, owner_drawn);
    QRect place = DialogRect(control.x, control.y, control.width, control.height, base_);
    // A combo box's height in the template is that of its open list; closed, it is as
    // high as its edit field needs.
    if (control.kind == ControlKind::combo_box) place.setHeight(widget->sizeHint().height());
    widget->setGeometry(place);
    widget->setEnabled(!control.disabled);
    if (control.id != -1) by_id_[control.id] = widget;
  }
}

QWidget* TemplateControls::widget(int id) const {
  const auto found = by_id_.find(id);
  return found == by_id_.end() ? nullptr : found->second;
}

QWidget* TemplateControls::Make(const DialogControl& control, QWidget* client,
                                const OwnerDrawn& owner_drawn) {
  const QString text = QString::fromLatin1(control.text);
  const auto label = [&](Qt::Alignment alignment) {
    auto* made = new QLabel(text, client);
    made->setTextFormat(Qt::PlainText);
    made->setAlignment(alignment);
    return made;
  };
  switch (control.kind) {
    case ControlKind::static_left:
      return label(Qt::AlignLeft | Qt::AlignTop);
    case ControlKind::static_center:
      return label(Qt::AlignHCenter | Qt::AlignTop);
    case ControlKind::static_center_sunken: {
      QLabel* made = label(Qt::AlignCenter);
      made->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      return made;
    }
    case ControlKind::static_etched_frame: {
      // An etched line around a group; the frame's text is never shown.
      auto* made = new QFrame(client);
      made->setFrameStyle(QFrame::Box | QFrame::Sunken);
      return made;
    }
    case ControlKind::owner_drawn_button:
      if (owner_drawn) return owner_drawn(control, client);
      return new QPushButton(text, client);
    case ControlKind::push_button:
      return new QPushButton(text, client);
    case ControlKind::default_push_button: {
      auto* made = new QPushButton(text, client);
      made->setDefault(true);
      return made;
    }
    case ControlKind::flat_push_button: {
      // A thin frame on the button face, so that the value shows it can be clicked; the
      // desktop's flat buttons have none.
      auto* made = new QPushButton(text, client);
      made->setStyleSheet(
          "QPushButton { border: 1px solid palette(dark); background: palette(button);"
          " padding: 0px; }"
          " QPushButton:pressed { background: palette(mid); }"
          " QPushButton:focus { border-color: palette(highlight); }");
      return made;
    }
    case ControlKind::edit:
      return new QLineEdit(text, client);
    case ControlKind::combo_box: {
      auto* made = new QComboBox(client);
      made->setEditable(true);
      // What the operator types is taken as it stands, not added to the list.
      made->setInsertPolicy(QComboBox::NoInsert);
      return made;
    }
  }
  return new QWidget(client);
}

}  // namespace onefortwo
