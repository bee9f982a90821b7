// The skin manager's choices, apart from the windows they are about: which
// registered skin data dresses a window, whether its class is dressed at
// all, and whether a window is attached, with the first test that refused.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/skin_data.h"

namespace qh {

// A registered skin data and the window handle of its owner control (0
// when it has none yet).
struct TSkinDataEntry {
    TSkinData* Data = nullptr;
    uintptr_t OwnerWindow = 0;
};

// In steps, the last match of a step winning: the sfOnlyThisForm data of
// this very window; for a message box class an sfDialog one; an sfMainform
// one; else the first registered, or none.
TSkinData* SelectSkinData(const std::vector<TSkinDataEntry>& datas, uintptr_t window,
                          const std::string& className);

// The first sfMainform data decides by its own rule (its event, or the
// classes it never dresses); with none registered every class is dressed.
bool AllowFormSkin(const std::vector<TSkinDataEntry>& datas, const std::string& className);

// A child window whose parent is an MDI client.
bool IsMdiChildWindow(uint32_t style, const std::string& parentClassName);
// A form is offered for dressing when it is visible, and not a child
// window unless an MDI child.
bool SkinFormAllowed(bool visible, uint32_t style, bool mdiChild);

// The first test of the attach that said no, in the order they run.
enum class TSkinRefusal {
    None,
    Inactive,
    AnswersQuery,    // already dressed by someone
    AlreadyAttached, // one of ours
    MdiChild,        // only while attaching is forced
    NoArea,
    FormTag,         // the form's Tag is 99
    Application,     // the application's own hidden window
    ClassRefused,
    NoSkin,          // no skin data, or its skin is empty
};

struct TSkinWindowFacts {
    uintptr_t Window = 0;
    std::string ClassName;
    bool ManagerActive = false;
    bool ForceAttach = false;
    bool AnswersSkinQuery = false;
    bool AlreadyAttached = false; // after the dead frames were purged
    bool HasForm = false;
    int32_t FormTag = 0;
    bool MdiChild = false;
    int Width = 0;
    int Height = 0;
};

struct TSkinWindowDecision {
    TSkinRefusal Refusal = TSkinRefusal::None;
    TSkinData* Data = nullptr; // the skin data to attach with, when None
};

// The facts are plain values the caller gathers first; the class decision
// (which may call the skin data's event) and the choice of skin data run
// only once every earlier test has passed.
TSkinWindowDecision DecideSkinWindow(const TSkinWindowFacts& facts,
                                     const std::vector<TSkinDataEntry>& datas);

} // namespace qh
