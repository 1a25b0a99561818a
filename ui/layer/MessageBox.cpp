#include "ui/layer/MessageBox.h"

#include <QMessageBox>

#include <cstdio>

namespace ombrix::layer {
namespace {
MessageBox::Interceptor& CurrentInterceptor()
{
    static MessageBox::Interceptor interceptor;
    return interceptor;
}

bool& InterceptedAnswer()
{
    static bool yes = false;
    return yes;
}
} // namespace

void MessageBox::Warning(const QString& title, const QString& text)
{
    std::fprintf(stderr, "ombrix: %s\n", text.toLocal8Bit().constData());
    if (CurrentInterceptor()) {
        CurrentInterceptor()(title, text);
        return;
    }
    QMessageBox::warning(nullptr, title, text);
}

bool MessageBox::Question(const QString& title, const QString& text)
{
    std::fprintf(stderr, "ombrix: %s\n", text.toLocal8Bit().constData());
    if (CurrentInterceptor()) {
        CurrentInterceptor()(title, text);
        return InterceptedAnswer();
    }
    return QMessageBox::question(nullptr, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void MessageBox::SetInterceptor(Interceptor interceptor)
{
    CurrentInterceptor() = std::move(interceptor);
    InterceptedAnswer() = false;
}

void MessageBox::SetAnswer(bool yes) { InterceptedAnswer() = yes; }

} // namespace ombrix::layer
