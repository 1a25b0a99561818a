// A stand-in messenger window in Qt: a one-line input and a "Send" button on Alt+S that
// appends what the input holds to a file, one message per line, and empties the input.
// With --no-input after the file it has the button only, as a dialog of another program
// might: a press of it writes "Send pressed".
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <limits>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const bool withInput = argc == 2;
    if (!withInput && (argc != 3 || QByteArray(argv[2]) != "--no-input"))
        return 2;
    const QString log = QString::fromLocal8Bit(argv[1]);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt Target"));
    auto* layout = new QHBoxLayout(&window);
    QLineEdit* input = nullptr;
    if (withInput) {
        input = new QLineEdit(&window);
        input->setMaxLength(std::numeric_limits<int>::max());
        layout->addWidget(input);
    }
    auto* send = new QPushButton(QStringLiteral("&Send"), &window);
    layout->addWidget(send);
    QObject::connect(send, &QPushButton::clicked, [&] {
        QFile file(log);
        if (!file.open(QIODevice::Append))
            return;
        if (input == nullptr) {
            file.write("Send pressed\n");
            return;
        }
        file.write(input->text().toUtf8() + '\n');
        input->clear();
    });
    window.resize(400, 60);
    window.move(100, 100);
    window.show();
    if (input != nullptr)
        input->setFocus();
    return QApplication::exec();
}
