// The widgets Tab visits, in order, starting after the given one.
#pragma once

#include <QWidget>

#include <vector>

namespace ombrix::test {

inline QWidget* NextTabStop(QWidget* from)
{
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
            return w;
    return nullptr;
}

} // namespace ombrix::test
