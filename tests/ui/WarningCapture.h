// Catches the program's message boxes for as long as it lives, so a test reads what the
// user would have been told instead of blocking on a modal dialog.
#pragma once

#include "ui/layer/MessageBox.h"

#include <QString>

#include <vector>

namespace ombrix::test {

class WarningCapture {
public:
    WarningCapture()
    {
        layer::MessageBox::SetInterceptor([this](const QString&, const QString& text) { texts.push_back(text); });
    }
    ~WarningCapture() { layer::MessageBox::SetInterceptor(nullptr); }
    WarningCapture(const WarningCapture&) = delete;
    WarningCapture& operator=(const WarningCapture&) = delete;

    std::vector<QString> texts;
};

} // namespace ombrix::test
