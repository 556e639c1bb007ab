// The template of QSO lines and the split of a line into its pieces.
#include "logs/qso_format.h"

#include "logs/error.h"
#include "logs/text.h"

#include <algorithm>

namespace zelk {

namespace {

using P = TQSOPiece;

struct TPieceName {
    std::string_view name;
    TQSOPiece piece;
};
constexpr TPieceName kPieceNames[] = {
    {"freq", P::Freq}, {"mode", P::Mode}, {"date", P::Date}, {"time", P::Time}, {"mycall", P::MyCall},
    {"sent", P::Sent}, {"call", P::Call}, {"rcvd", P::Rcvd}, {"tx", P::Tx},     {"skip", P::Skip}};

std::string_view NameOf(TQSOPiece piece) {
    for (const auto& n : kPieceNames)
        if (n.piece == piece) return n.name;
    return {};
}

bool MayRepeat(TQSOPiece piece) {
    return piece == P::Sent || piece == P::Rcvd || piece == P::Skip;
}

// The words of a template text: separated by blanks, tabs or commas.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char ch : text) {
        if (static_cast<unsigned char>(ch) <= 32 || ch == ',') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += ch;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

// Reads a template text into `pieces`; the message of its first fault, or empty text.
std::string ReadTemplate(std::string_view text, std::vector<TQSOPiece>& pieces) {
    pieces.clear();
    for (const std::string& word : Words(text)) {
        const std::string lower = LowerCase(word);
        const auto* found = std::find_if(std::begin(kPieceNames), std::end(kPieceNames),
                                         [&](const TPieceName& n) { return n.name == lower; });
        if (found == std::end(kPieceNames))
            return FormatText("Шаблон строки QSO: неизвестное поле «%s». Допустимы freq, mode, date, time, "
                              "mycall, sent, call, rcvd, tx и skip."_cp,
                              word);
        if (!MayRepeat(found->piece) && std::find(pieces.begin(), pieces.end(), found->piece) != pieces.end())
            return FormatText("Шаблон строки QSO: поле «%s» может стоять только один раз (повторяться могут "
                              "sent, rcvd и skip)."_cp,
                              found->name);
        pieces.push_back(found->piece);
    }
    if (!pieces.empty() && std::find(pieces.begin(), pieces.end(), P::Call) == pieces.end())
        return "Шаблон строки QSO: нет поля call (позывной корреспондента)."_cp;
    return {};
}

const std::vector<TQSOPiece>& DefaultPieces() {
    static const std::vector<TQSOPiece> pieces = {P::Freq, P::Mode, P::Date, P::Time, P::MyCall,
                                                  P::Sent, P::Sent, P::Call, P::Rcvd, P::Rcvd};
    return pieces;
}

} // namespace

TQSOTemplate::TQSOTemplate() : TQSOTemplate(DefaultPieces()) {}

TQSOTemplate::TQSOTemplate(std::vector<TQSOPiece> pieces) : pieces_(std::move(pieces)) {
    std::fill(std::begin(index_), std::end(index_), -1);
    for (size_t i = 0; i < pieces_.size(); ++i) {
        const int at = static_cast<int>(i);
        if (pieces_[i] == P::Sent)
            sent_.push_back(at);
        else if (pieces_[i] == P::Rcvd)
            rcvd_.push_back(at);
        else if (pieces_[i] != P::Skip)
            index_[static_cast<size_t>(pieces_[i])] = at;
    }
}

TQSOTemplate TQSOTemplate::Parse(std::string_view text) {
    std::vector<TQSOPiece> pieces;
    const std::string error = ReadTemplate(text, pieces);
    if (!error.empty()) throw TZelkError(error);
    return pieces.empty() ? TQSOTemplate() : TQSOTemplate(std::move(pieces));
}

std::string TQSOTemplate::Check(std::string_view text) {
    std::vector<TQSOPiece> pieces;
    return ReadTemplate(text, pieces);
}

int TQSOTemplate::IndexOf(TQSOPiece piece) const {
    return index_[static_cast<size_t>(piece)];
}

size_t TQSOTemplate::RequiredPieces() const {
    size_t n = pieces_.size();
    while (n > 0 && pieces_[n - 1] == P::Skip)
        --n;
    return n;
}

std::string TQSOTemplate::Text() const {
    std::string text;
    for (TQSOPiece piece : pieces_) {
        if (!text.empty()) text += ' ';
        text += NameOf(piece);
    }
    return text;
}

const TLogFormat& DefaultLogFormat() {
    static const TLogFormat format;
    return format;
}

bool SplitQSOPieces(std::string_view text, bool splitTabs, std::vector<std::string>& pieces) {
    pieces.clear();
    std::string trimmed;
    if (splitTabs) {
        std::string spaced(text);
        std::replace_if(
            spaced.begin(), spaced.end(), [](char ch) { return ch == '\t' || ch == '\xA0'; }, ' ');
        trimmed = Trim(spaced);
    } else {
        trimmed = Trim(text);
    }
    if (trimmed.empty()) return false;
    SplitString(CollapseSpaces(trimmed), ' ', pieces);
    return true;
}

} // namespace zelk
