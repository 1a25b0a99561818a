// Every message box of the program goes through here, so tests can answer it in
// advance instead of blocking on a modal dialog.
#pragma once

#include <QString>

#include <functional>

namespace ombrix::layer {

class MessageBox {
public:
    // Shows a warning and waits for the user; the text also goes to standard error.
    static void Warning(const QString& title, const QString& text);

    // Asks a yes-or-no question, No the default; true for Yes. The text also goes to
    // standard error.
    static bool Question(const QString& title, const QString& text);

    // While set, Warning and Question call this instead of showing anything; Question then
    // answers what SetAnswer last gave (No unless told).
    using Interceptor = std::function<void(const QString& title, const QString& text)>;
    static void SetInterceptor(Interceptor interceptor);
    static void SetAnswer(bool yes);
};

} // namespace ombrix::layer
