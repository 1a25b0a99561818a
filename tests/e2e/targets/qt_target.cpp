// A stand-in messenger window in Qt: a one-line input and a "Send" button on Alt+S that
// appends what the input holds to a file, one message per line, and empties the input.
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <limits>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    const QString log = QString::fromLocal8Bit(argv[1]);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Qt Target"));
    auto* input = new QLineEdit(&window);
    input->setMaxLength(std::numeric_limits<int>::max());
    auto* send = new QPushButton(QStringLiteral("&Send"), &window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(input);
    layout->addWidget(send);
    QObject::connect(send, &QPushButton::clicked, [&] {
        QFile file(log);
        if (!file.open(QIODevice::Append))
            return;
        file.write(input->text().toUtf8() + '\n');
        input->clear();
    });
    window.resize(400, 60);
    window.move(100, 100);
    window.show();
    input->setFocus();
    return QApplication::exec();
}
