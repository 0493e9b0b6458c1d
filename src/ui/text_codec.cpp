#include "ui/text_codec.h"

#include <QStringDecoder>

namespace leafsmith {

namespace {

// The characters Windows-1252 puts at 0x80 to 0x9F (0 where it has none); the rest is Latin-1.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

QString FromBytes(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t shown =
            byte >= 0x80 && byte < 0xA0 && Windows1252High[byte - 0x80] ? Windows1252High[byte - 0x80] : char16_t(byte);
        text.append(QChar(shown));
    }
    return text;
}

std::string ToBytes(const QString& text) {
    return text.toStdString();
}

}  // namespace leafsmith
