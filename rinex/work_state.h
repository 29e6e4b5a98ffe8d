#pragma once
// What the window keeps between the analysis and the modification, and the window state
// that the analysis writes.

#include <string>

namespace marvolt {

struct WorkState {
    // 30 December 1899 until an analysis sets it; an analysis that fails on the time of the
    // first observation still takes over the new date.
    double observationDate = 0.0;
    // The file and the observation date of the last analysis that ran to its end: what the
    // modification rewrites and builds its keys from. An analysis that failed part-way
    // changes neither, so the modification never mixes two files.
    std::string analysedFile;
    double analysedDate = 0.0;
};

// The result fields, the report box and the modify button, as the analysis fills them.
class ResultView {
  public:
    virtual ~ResultView() = default;
    virtual void clearReport() = 0;
    virtual void addReportLine(const std::string& line) = 0;
    virtual void showObservationDate(const std::string& text) = 0;   // edtData
    virtual void showFirstObservation(const std::string& text) = 0;  // edtCzas
    virtual void showShift(const std::string& text) = 0;             // edtPrzesun
    virtual void setModifyEnabled(bool enabled) = 0;                 // btnModyfikuj
};

}  // namespace marvolt
