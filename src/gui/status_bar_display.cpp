#include "status_bar_display.h"

#include <QThread>

namespace onefortwo {

void StatusBarDisplay::ShowStatus(StatusField field, const std::string& text, bool trouble) {
  const size_t index = static_cast<size_t>(field);
  if (index >= fields_.size()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    fields_[index] = Field{text, trouble, true};
  }
  if (QThread::currentThread() == thread()) {
    Refresh();
  } else {
    QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
  }
}

void StatusBarDisplay::Attach(QStatusBar* bar) {
  bar_ = bar;
  Refresh();
}

QLabel* StatusBarDisplay::label(StatusField field) const {
  const size_t index = static_cast<size_t>(field);
  return index < labels_.size() ? labels_[index].data() : nullptr;
}

void StatusBarDisplay::Refresh() {
  if (!bar_) return;
  std::array<Field, kFields> fields;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    fields = fields_;
  }
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!fields[i].given) continue;
    if (!labels_[i]) {
      labels_[i] = new QLabel(bar_);
      // A long text (a by-id port name, a reason) is cut rather than widening the main
      // window beyond its place; the whole of it is in the tooltip.
      labels_[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
      labels_[i]->setMinimumWidth(80);
      // The link first and widest; the features after it, in the order of the fields.
      int place = 0;
      for (size_t before = 0; before < i; ++before) place += labels_[before] ? 1 : 0;
      bar_->insertPermanentWidget(place, labels_[i], i == 0 ? 3 : 2);
    }
    QLabel* label = labels_[i];
    const QString text = QString::fromStdString(fields[i].text);
    if (label->text() != text) {
      label->setText(text);
      label->setToolTip(text);
    }
    label->setStyleSheet(fields[i].trouble ? "color: #a00000; font-weight: bold;" : "");
  }
}

}  // namespace onefortwo
