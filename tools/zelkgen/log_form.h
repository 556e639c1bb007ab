// How one station writes its log: file name, header texts, letter case and line ends. Drawn from the
// station's own random stream, so the header of a log does not change when the contacts do.
#pragma once

#include "contest.h"

#include <string>
#include <vector>

namespace zelk::gen {

struct TGenLogForm {
    std::string fileName;   // Q1AB.CBR, Q1AB.cbr or q1ab.cbr
    bool lowerCase = false; // callsigns and mode in lower case
    bool lfOnly = false;    // LF line ends instead of CR LF
    std::string unknownTag; // a whole header line with a tag the program does not know, or empty
    // Header values, Windows-1251.
    std::string name, club, address, soapbox, overlay, assisted;
};

// The forms of all logging stations, indexed like the stations (empty forms for the others).
std::vector<TGenLogForm> MakeLogForms(const TGenOptions& options, const TGenContest& contest);

// Latin capitals to small letters; other bytes stay.
std::string LowerAscii(std::string s);

// The tag of a form's unknown header line ("X-QTH:"), or empty text.
std::string UnknownTagName(const TGenLogForm& form);

} // namespace zelk::gen
