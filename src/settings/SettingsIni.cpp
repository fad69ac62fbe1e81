// The INI half of Settings: one "(tag)name=value" line per item, CR LF line ends, UTF-8.
#include "settings/Settings.h"

#include "platform/NumberParse.h"
#include "platform/TextLines.h"
#include "settings/SettingValue.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>


void Settings::Load(const QString& file)
{
    if (TrimBlanks(Filename).isEmpty() && TrimBlanks(file).isEmpty())
        return;
    if (!Filename.contains(u'/') && QCoreApplication::instance()) {
        QString folder = QCoreApplication::applicationDirPath();
        if (!folder.endsWith(u'/'))
            folder += u'/';
        Filename = folder + Filename;
    }
    QFile in(file.isEmpty() ? Filename : file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QString content = QString::fromUtf8(in.readAll());
    in.close();

    // Lines may end in CR LF, LF or a lone CR; a file edited anywhere reads the same.
    SplitLines(content.constData(), content.size(), [&](const QChar* first, qsizetype length) {
        const QStringView line = TrimBlanks(QStringView(first, length));
        const qsizetype eq = line.indexOf(u'=');
        if (line.isEmpty() || line[0] == u';' || eq < 0)
            return;
        int32_t type = SettingString;
        QString name;
        if (eq >= 3 && line[0] == u'(' && line[2] == u')') {
            type = SettingItem::TypeOfTag(line[1]);
            name = line.sliced(3, eq - 3).toString();
        } else {
            name = line.first(eq).toString();
        }
        const QStringView text = line.sliced(eq + 1);
        QVariant value = SettingItem::EmptyValueOf(type);
        if (type == SettingNumber) {
            if (const auto number = ParseLenient(text))
                value = *number;
        } else if (type == SettingBoolean) {
            if (const auto flag = SettingValue::ToBool(text.toString()))
                value = *flag;
        } else {
            value = TrimBlanks(text).toString();
        }
        AddSetting(name, value, type);
    });
}

void Settings::Save(const QString& file)
{
    // Written beside the target and renamed over it: a crash never leaves half a file.
    QSaveFile out(file.isEmpty() ? Filename : file);
    if (!out.open(QIODevice::WriteOnly)) {
        emit SaveFail();
        return;
    }
    QByteArray content;
    for (const auto& item : std::as_const(m_items)) {
        content += '(' + QString(SettingItem::TagOf(item->nType)).toUtf8() + ')';
        content += item->Name.toUtf8() + '=' + SettingValue::Text(item->Value).toUtf8() + "\r\n";
    }
    if (out.write(content) != content.size() || !out.commit())
        emit SaveFail();
}
