#include "paint/push_button.h"

#include <cstring>

namespace onefortwo {

void DrawPushButton(Canvas& hdc, Rect* r, const char* text, int up, colorref textcolor,
                    colorref bkcolor, colorref t2color, const SystemColors& system) {
  const Pen hilite_pen{system.btn_highlight, 1};
  const Pen shadow_pen{system.btn_shadow, 1};
  const Pen dark_pen{system.dark_shadow, 1};
  const BkMode oldbkmode = hdc.SetBkMode(BkMode::transparent);

  r->right -= 1;
  r->bottom -= 1;
  const int left = r->left;
  const int top = r->top;
  const int right = r->right;
  const int bottom = r->bottom;

  if (bkcolor == 0) bkcolor = system.btn_face;
  hdc.FillRect(*r, Brush{bkcolor});

  Pen oldpen;
  if (up != 0) {
    oldpen = hdc.SelectObject(hilite_pen);
    hdc.MoveTo(left, bottom);
    hdc.LineTo(left, top);
    hdc.LineTo(right, top);
    hdc.SelectObject(dark_pen);
    hdc.LineTo(right, bottom);
    hdc.LineTo(left - 1, bottom);
    hdc.SelectObject(shadow_pen);
    hdc.MoveTo(left + 1, bottom - 1);
    hdc.LineTo(right - 1, bottom - 1);
    hdc.LineTo(right - 1, top);
  } else {
    oldpen = hdc.SelectObject(dark_pen);
    hdc.MoveTo(left, bottom);
    hdc.LineTo(left, top);
    hdc.LineTo(right, top);
    hdc.LineTo(right, bottom);
    hdc.LineTo(left, bottom);
    hdc.LineTo(left + 1, bottom - 2);
    hdc.SelectObject(shadow_pen);
    hdc.LineTo(left + 1, top + 1);
    hdc.LineTo(right - 1, top + 1);
  }

  const int len = static_cast<int>(std::strlen(text));
  const Size extent = hdc.GetTextExtentPoint32A(text, len);
  const int x = (right - left - extent.cx) / 2;
  const int y = (bottom - top - extent.cy) / 2;

  const colorref oldbkcolor = hdc.SetBkColor(bkcolor);
  if (t2color == 0) t2color = system.btn_highlight;
  const colorref oldtextcolor = hdc.SetTextColor(t2color);
  const int emboss = up != 0 ? 1 : 2;
  hdc.TextOutA(x + emboss, y + emboss, text, len);
  if (textcolor == 0) textcolor = system.btn_text;
  hdc.SetTextColor(textcolor);
  hdc.TextOutA(x, y, text, len);

  hdc.SetBkMode(oldbkmode);
  hdc.SetTextColor(oldtextcolor);
  hdc.SetBkColor(oldbkcolor);
  hdc.SelectObject(oldpen);
}

}  // namespace onefortwo
