// Colouring of a log's main header tags in the log editor's text document. The formats are part of the
// document, as in a rich-text control: colouring adds to what the text carries, and clearing removes all.
#pragma once

#include <QColor>
#include <QString>

#include <vector>

class QTextDocument;

namespace zelk::ui {

// One line of the colouring table: a line beginning with `Tag` (letter case ignored) gets `Colour`
// (and bold) on `Length` characters from `From`; a negative length means the rest of the line.
struct TTagColour {
    QString Tag;
    int From;
    int Length;
    QColor Colour;
    bool Bold;
};

// The table, in the order in which the tags are tried.
const std::vector<TTagColour>& TagColours();

// The row of the table that a line matches first, or nullptr. Blanks before the tag match nothing.
const TTagColour* MatchTagColour(QStringView line);

// Adds the table's formats to every line that matches a tag; other lines keep their formats.
void ColourTags(QTextDocument* document);
// Gives the whole text the default character format: no colour, no bold.
void ClearTagColours(QTextDocument* document);

} // namespace zelk::ui
