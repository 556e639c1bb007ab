// The program's style.
#include "ui/zelk_style.h"

#include <QPainter>
#include <QStyleOption>

namespace zelk::ui {

TZelkStyle::TZelkStyle() : QProxyStyle() {}

void TZelkStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus) ||
        !(option->state & State_KeyboardFocusChange))
        return;
    const QRect inner = subElementRect(SE_PushButtonFocusRect, option, widget);
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::ButtonText), 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(inner.adjusted(0, 0, -1, -1));
    painter->restore();
}

} // namespace zelk::ui
