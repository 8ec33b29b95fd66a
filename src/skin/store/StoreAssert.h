// The assertion failure raised by the skin storage units when a caller breaks a routine's
// precondition. It carries the message, the unit and the line of the check, so that the
// application's error box can report it like any other error. Portable.
#pragma once
#include <stdexcept>
#include <string>

namespace TarnelStore {

class EAssertionFailed : public std::logic_error {
public:
  EAssertionFailed(const std::string& message, const char* unitName, int lineNumber)
      : std::logic_error(message), FUnitName(unitName), FLineNumber(lineNumber) {}

  std::string Message() const { return what(); }
  const std::string& UnitName() const { return FUnitName; }
  int LineNumber() const { return FLineNumber; }
  // "message (unit, line n)", the text the error box shows.
  std::string FullText() const {
    return Message() + " (" + FUnitName + ", line " + std::to_string(FLineNumber) + ")";
  }

private:
  std::string FUnitName;
  int FLineNumber;
};

} // namespace TarnelStore
