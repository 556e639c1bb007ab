// TZelkStyle: the desktop's own style with one addition: a push button that has the keyboard focus wears
// a dotted frame inside, so that the focus shows on the default button too, which the usual styles mark
// exactly as they mark a focused one.
#pragma once

#include <QProxyStyle>

namespace zelk::ui {

class TZelkStyle : public QProxyStyle {
  public:
    TZelkStyle();
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

} // namespace zelk::ui
