#pragma once
// What the user reads of an analysis, made once here: the texts of the window's result
// fields, the report lines and the messages. The window and marvolt-cli only place them.

#include <functional>
#include <optional>
#include <string>

#include "analysis_result.h"
#include "locale_settings.h"
#include "services.h"

namespace marvolt {

// The result fields. The date and the first observation are there only when the file has
// "TIME OF FIRST OBS"; otherwise the fields keep what they showed.
struct AnalysisFields {
    std::optional<std::string> observationDate;   // edtData: "3 April 2012 r. (Tuesday)"
    std::optional<std::string> firstObservation;  // edtCzas: "6:00:12"
    std::string shift;                            // edtPrzesun: "1:59:48", without a sign
    std::string shiftHint;                        // which way the watch was off; "" for no shift
};

// The fields of a result, in the table's locale.
AnalysisFields analysisFields(const AnalysisResult& result, const LocaleSettings& locale);

// A shift as the shift field shows it: "H:MM:SS" without a sign.
std::string shiftText(double shift, const LocaleSettings& locale);

// Shows the report in the order the user reads it: the warning about an earlier run's marks,
// then for each point its epoch lines (file order, STOP before GO on a shared line) through
// `addLine`, each followed by what is missing for it (one series of messages), and at the
// end the verdict message. Called once the fields are placed.
void showReport(const AnalysisResult& result, Services& services,
                const std::function<void(const std::string&)>& addLine);

}  // namespace marvolt
