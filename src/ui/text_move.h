#pragma once

namespace quillet {

// Moving the selection [start, end) of a text onto a position of the same text: where to cut and where to put
// it back. A position inside the selection, its ends included, changes nothing; a position after it shifts
// back by the length taken out.
struct SelfMovePlan {
    bool changes = false;
    int removeStart = 0;
    int removeEnd = 0;
    int insertAt = 0;  // in the text after the removal
};

SelfMovePlan PlanSelfMove(int selectionStart, int selectionEnd, int dropPosition);

}  // namespace quillet
