#pragma once
// The checks before a calculation run, and the dialogs through which the core
// talks to the user: the window shows message boxes, the batch tool prints and
// answers Yes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "design/DesignConditions.h"

namespace sorvanta {

class TGetDat;

// The user's side of a run. Messages are shown in the order they are sent;
// each must be closed before the run goes on. "\r" in a text is a line break.
class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool Confirm(std::string_view question) = 0;
    // A message box with OK.
    virtual void ShowMessage(std::string_view message) = 0;
};

// Answers every question with a fixed answer (Yes by default) and keeps the
// questions and messages in order: the batch tool and the tests use it.
class TRecordingDialogs : public TUserDialogs {
public:
    explicit TRecordingDialogs(bool answer = true) : Answer(answer) {}
    bool Confirm(std::string_view question) override;
    void ShowMessage(std::string_view message) override;

    bool Answer;
    std::vector<std::string> Questions;
    std::vector<std::string> Messages;
};

enum class TCheckOutcome : std::uint8_t { Proceed, Refuse };

// Builds the model from the design (a text the aborting conversion cannot
// read throws ConversionError before any dialog), asks the user to confirm
// the circle conditions, then shows the message of every fault found. The
// design is never changed.
TCheckOutcome CheckDesignConditions(TGetDat& model, const TDesignConditions& design,
                                    TUserDialogs& dialogs);

// The confirmation question for the design.
std::string CircleConditionsQuestion(const TDesignConditions& design);

// Bounds beyond which a run is refused before it starts. The grid-point mesh
// evaluates (N − 1) · N centres; the choices offer up to 30.
inline constexpr int MaxGridFsMeshCount = 100;
// Slices a circle may need over the whole ground surface; beyond this the
// slice width limit is too small for the section (the run would take
// minutes: its time grows with the slice count).
inline constexpr double MaxSlicesPerSection = 10000.0;

}  // namespace sorvanta
