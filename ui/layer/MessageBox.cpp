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

void MessageBox::SetInterceptor(Interceptor interceptor) { CurrentInterceptor() = std::move(interceptor); }

} // namespace ombrix::layer
