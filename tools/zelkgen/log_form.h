// How one station writes its log: file name, header texts, letter case and line ends. Drawn from the
// station's own random stream, so the header of a log does not change when the contacts do.
#pragma once

#include "contest.h"
#include "logs/text_encoding.h"

#include <string>
#include <vector>

namespace zelk::gen {

struct TGenLogForm {
    std::string fileName;   // Q1AB.CBR, Q1AB.cbr or q1ab.cbr: the name in the cleaned copy
    bool lowerCase = false; // callsigns and mode in lower case
    bool lfOnly = false;    // LF line ends instead of CR LF
    std::string unknownTag; // a whole header line with a tag the program does not know, or empty
    // Header values, Windows-1251.
    std::string name, club, address, soapbox, overlay, assisted;

    // The log as it arrives: its name, encoding and separators, and the name of a second copy.
    std::string arrivalName; // fileName unless a form below renames it
    bool mixedExt = false;   // .log or .LOG
    bool oddName = false;    // Q5O_p.CBR for Q5O/P, else a blank before the dot
    zelk::TTextEncoding encoding = zelk::TTextEncoding::Cp1251;
    bool tabs = false;    // QSO pieces separated by tabs
    bool noBreak = false; // a no-break space after "QSO:" instead (among the --tabs logs)
    std::string copyName; // the second copy, or empty
};

// The forms of all logging stations, indexed like the stations (empty forms for the others).
std::vector<TGenLogForm> MakeLogForms(const TGenOptions& options, const TGenContest& contest);

// Latin capitals to small letters; other bytes stay.
std::string LowerAscii(std::string s);

// The English name of an encoding for the fault list ("UTF-16 LE with BOM").
std::string EncodingRemark(zelk::TTextEncoding encoding);

// The tag of a form's unknown header line ("X-QTH:"), or empty text.
std::string UnknownTagName(const TGenLogForm& form);

} // namespace zelk::gen
