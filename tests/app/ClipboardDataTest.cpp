#include "app/ClipboardData.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QStringDecoder>

#include <gtest/gtest.h>

namespace {

// How an editor that trusts only a declared character set, and takes anything else for
// Latin-1, reads the text/html flavour; the declaration itself is left out.
QString ReadLikeALatin1Editor(const QByteArray& bytes)
{
    static const QRegularExpression declaration(QStringLiteral("^<meta [^>]*charset=([A-Za-z0-9_-]+)[^>]*>"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = declaration.match(QString::fromLatin1(bytes.left(1024)));
    if (!match.hasMatch())
        return QString::fromLatin1(bytes);
    QStringDecoder decode(match.captured(1).toLatin1().constData());
    EXPECT_TRUE(decode.isValid()) << match.captured(1).toStdString();
    return decode(bytes.mid(match.capturedLength()));
}

TEST(ClipboardData, PlainTextIsTheHtmlItselfAndTheHtmlFlavourKeepsEveryCharacter)
{
    const QString messages[] = {
        QStringLiteral("<FONT COLOR=FF0000>plain ascii"),
        QString::fromUtf8("<FONT COLOR=FF0000>Gr\xC3\xBC\xC3\x9F"
                          "e<BR><FONT COLOR=0000FF>\xF0\x9F\x98\x80"),
        QString(),
    };
    for (const QString& html : messages) {
        QMimeData data;
        ombrix::app::FillClipboardData(data, html);
        EXPECT_TRUE(data.hasFormat(QStringLiteral("text/plain")));
        EXPECT_TRUE(data.hasFormat(QStringLiteral("text/html")));
        EXPECT_EQ(data.text(), html) << "what every plain field receives";
        static const QRegularExpression tag(QStringLiteral("<FONT COLOR=[^>]*>"));
        EXPECT_EQ(ReadLikeALatin1Editor(data.data(QStringLiteral("text/html"))).remove(tag), QString(html).remove(tag))
            << html.toStdString();
    }
}

} // namespace
