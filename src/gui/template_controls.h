#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>
#include <functional>
#include <map>

#include "resources/dialog_template.h"

namespace onefortwo {

// The font a dialog template names, as this desktop has it: the application's font at the
// template's point size. The desktop's own dialog font stands in for "MS Sans Serif".
QFont TemplateFont(const DialogTemplate& dialog);

// The dialog base units of `font`: its average character width and its line height.
DialogBaseUnits DialogBaseUnitsOf(const QFont& font);

// Dialog units in pixels, with the template's base units.
QRect DialogRect(int x, int y, int width, int height, DialogBaseUnits base);

// The controls of one dialog template, made children of a window's client area at their
// places in the template font, in template order (which is also their tab order). The base
// units are the font's, widened where a label's text would not fit its place. Labels and
// frames have no id and are not kept.
class TemplateControls {
 public:
  // Makes an owner-drawn control; the window that draws it knows how.
  using OwnerDrawn = std::function<QWidget*(const DialogControl& control, QWidget* client)>;

  // `client` takes the template's font and its client size. Without `owner_drawn`, an
  // owner-drawn control is a plain push button.
  TemplateControls(const DialogTemplate& dialog, QWidget* client,
                   const OwnerDrawn& owner_drawn = OwnerDrawn());

  // The base units the controls are placed with.
  DialogBaseUnits base() const { return base_; }
  // The template's client area in pixels.
  QSize client_size() const { return client_size_; }

  // The control of `id`, or null.
  QWidget* widget(int id) const;
  template <class T>
  T* get(int id) const {
    return qobject_cast<T*>(widget(id));
  }

 private:
  QWidget* Make(const DialogControl& control, QWidget* client, const OwnerDrawn& owner_drawn);

  DialogBaseUnits base_;
  QSize client_size_;
  std::map<int, QWidget*> by_id_;
};

}  // namespace onefortwo
