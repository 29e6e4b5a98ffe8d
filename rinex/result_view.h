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
    virtual void showShift(const std::string& text) = 0;             // edtPrzesun
};

}  // namespace marvolt
