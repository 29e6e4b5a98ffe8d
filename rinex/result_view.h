#pragma once
// The window's result fields and report box, as the analysis fills them.

#include <string>

namespace marvolt {

class ResultView {
  public:
    virtual ~ResultView() = default;
    virtual void clearReport() = 0;
    virtual void addReportLine(const std::string& line) = 0;
    virtual void showObservationDate(const std::string& text) = 0;   // edtData
    virtual void showFirstObservation(const std::string& text) = 0;  // edtCzas
    // edtPrzesun: the shift without a sign, and the hint that tells its direction ("" for
    // no shift).
    virtual void showShift(const std::string& text, const std::string& hint) = 0;
};

}  // namespace marvolt
