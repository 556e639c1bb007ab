// The colouring table of the log editor and its application to a text document.
#include "ui/edit_file_syntax.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace zelk::ui {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kPurple(128, 0, 128);
const QColor kRed(255, 0, 0);

// The tags are ASCII; a character outside ASCII never upper-cases to an ASCII letter in Windows-1251, so
// comparing ASCII letters without regard to case is the whole rule.
bool StartsWithTag(QStringView line, const QString& tag) {
    if (line.size() < tag.size()) return false;
    for (qsizetype i = 0; i < tag.size(); ++i) {
        char16_t c = line[i].unicode();
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        if (c != tag[i].unicode()) return false;
    }
    return true;
}

} // namespace

const std::vector<TTagColour>& TagColours() {
    static const std::vector<TTagColour> table = {
        {QStringLiteral("CALLSIGN:"), 9, -1, kNavy, true},
        {QStringLiteral("OPERATORS:"), 10, -1, kNavy, true},
        {QStringLiteral("NAME:"), 5, -1, kNavy, true},
        {QStringLiteral("CONTEST:"), 8, -1, kPurple, false},
        {QStringLiteral("SOAPBOX:"), 8, -1, kNavy, false},
        {QStringLiteral("START-OF-LOG:"), 0, 12, kRed, false},
        {QStringLiteral("END-OF-LOG:"), 0, 10, kRed, false},
        {QStringLiteral("QSO:"), 0, 3, kPurple, false},
        {QStringLiteral("CLUB:"), 5, -1, kNavy, false},
    };
    return table;
}

const TTagColour* MatchTagColour(QStringView line) {
    for (const TTagColour& rule : TagColours())
        if (StartsWithTag(line, rule.Tag)) return &rule;
    return nullptr;
}

void ColourTags(QTextDocument* document) {
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString line = block.text();
        const TTagColour* rule = MatchTagColour(line);
        if (!rule) continue;
        const int end = rule->Length < 0 ? static_cast<int>(line.size()) : rule->From + rule->Length;
        if (end <= rule->From) continue;
        QTextCharFormat format;
        format.setForeground(rule->Colour);
        if (rule->Bold) format.setFontWeight(QFont::Bold);
        cursor.setPosition(block.position() + rule->From);
        cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
}

void ClearTagColours(QTextDocument* document) {
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    cursor.setCharFormat(QTextCharFormat());
}

} // namespace zelk::ui
