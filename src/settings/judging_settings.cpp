// The reading of the logs that the judging settings ask for.
#include "settings/judging_settings.h"

namespace zelk {

TContestReading TZelkJudgingSettings::Reading() const {
    TContestReading reading;
    reading.FilesMask = FilesMask;
    reading.Exclusions = {"zelk.ini", UBNExt, LCRExt};
    reading.FindByCallSign = FindLogByCallSign;
    reading.Format = {TQSOTemplate::Parse(QSOTemplate), QSOSplitTabs};
    return reading;
}

} // namespace zelk
