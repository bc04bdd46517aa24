#include "client/ui/shell/QtClipboardStore.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QString CQtClipboardStore::MimeType(std::string_view format)
{
    return QStringLiteral("application/x-") +
           QString::fromUtf8(format.data(), static_cast<qsizetype>(format.size())).toLower();
}

bool CQtClipboardStore::SetData(std::string_view format, std::vector<std::uint8_t> data, std::string_view text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    auto* mime = new QMimeData;
    mime->setData(MimeType(format),
                  QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())));
    if (!text.empty())
        mime->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    // The clipboard owns the data from here on.
    clipboard->setMimeData(mime);
    return true;
}

std::optional<std::vector<std::uint8_t>> CQtClipboardStore::GetData(std::string_view format) const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
    const QString type = MimeType(format);
    if (!mime || !mime->hasFormat(type))
        return std::nullopt;
    const QByteArray bytes = mime->data(type);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}
