#include "number_entry_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "window_hold.h"

namespace onefortwo {

NumberEntryDialog::NumberEntryDialog(Station& station, int amp, int type, QWidget* owner)
    : QDialog(owner), entry_(station, amp, type) {
  setWindowTitle(QString::fromLatin1(entry_.title().c_str()));
  controls_ = std::make_unique<TemplateControls>(kGetNumberDialog, this);
  // The window may be made larger; the controls keep their places.
  setMinimumSize(controls_->client_size());

  controls_->get<QLabel>(kPrompt)->setText(QString::fromLatin1(entry_.prompt().c_str()));
  controls_->get<QLabel>(kUnitLabel)->setText(QString::fromLatin1(entry_.unit_label().c_str()));
  QLineEdit* edit = field();
  edit->setMaxLength(kNumberEntryMaxLength);
  edit->setText(QString::fromLatin1(entry_.initial_text().c_str()));
  edit->selectAll();
  edit->setFocus();

  connect(button(kOk), &QPushButton::clicked, this, &NumberEntryDialog::Ok);
  connect(button(kCancel), &QPushButton::clicked, this, &QDialog::reject);
  connect(this, &QDialog::finished, this, &QObject::deleteLater);
}

NumberEntryDialog::~NumberEntryDialog() = default;

QLineEdit* NumberEntryDialog::field() const {
  return controls_->get<QLineEdit>(kField);
}

QPushButton* NumberEntryDialog::button(int id) const {
  return controls_->get<QPushButton>(id);
}

QString NumberEntryDialog::Text(int id) const {
  const QLabel* label = controls_->get<QLabel>(id);
  return label != nullptr ? label->text() : QString();
}

void NumberEntryDialog::Ok() {
  // The field holds at most kNumberEntryMaxLength characters; those that are no Latin-1
  // character end the number like any other non-digit.
  const QByteArray text = field()->text().toLatin1();
  const NumberEntry::Outcome outcome = entry_.Ok(text.constData());
  if (!outcome.message.empty()) {
    QMessageBox box(QMessageBox::Critical, "Problem", QString::fromLatin1(outcome.message.c_str()),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    RunOwned(box, this);
  }
  if (outcome.close) accept();
}

}  // namespace onefortwo
