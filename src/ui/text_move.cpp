#include "ui/text_move.h"

namespace quillet {

SelfMovePlan PlanSelfMove(int selectionStart, int selectionEnd, int dropPosition) {
    if (selectionStart >= selectionEnd || (dropPosition >= selectionStart && dropPosition <= selectionEnd)) {
        return {};
    }
    const int length = selectionEnd - selectionStart;
    return {true, selectionStart, selectionEnd, dropPosition < selectionStart ? dropPosition : dropPosition - length};
}

}  // namespace quillet
