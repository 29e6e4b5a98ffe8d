#pragma once
// What the window keeps between the analysis and the modification, and the window state
// that the analysis writes.

#include <string>

namespace marvolt {

struct WorkState {
    double observationDate = 0.0;  // 30 December 1899 until an analysis sets it
    std::string analysedFile;      // the file the last analysis read: the one to rewrite
};

// The result fields, the report box and the modify button, as the analysis fills them.
class ResultView {
public:
    virtual ~ResultView() = default;
    virtual void clearReport() = 0;
    virtual void addReportLine(const std::string& line) = 0;
    virtual void showObservationDate(const std::string& text) = 0;  // edtData
    virtual void showFirstObservation(const std::string& text) = 0;  // edtCzas
    virtual void showShift(const std::string& text) = 0;             // edtPrzesun
    virtual void setModifyEnabled(bool enabled) = 0;                 // btnModyfikuj
};

}  // namespace marvolt
