#pragma once

#include "store/card_operations.h"

namespace quillet {

// The document of the entry-mode window. It holds no card data: its commands run the card operations, and
// its save-modified question guards the editor's unsaved text when the window closes.
class CQuilletDoc final {
public:
    explicit CQuilletDoc(CardOperations& operations) : m_operations(operations) {}

    void OnFileNew() { m_operations.NewCard(); }
    void OnFileSave() { m_operations.SaveCard(); }
    // Ctrl+O opens nothing: there are no document files.
    void OnFileOpen() {}
    bool SaveModified() { return m_operations.SaveQuestionAtClosing(); }

private:
    CardOperations& m_operations;
};

}  // namespace quillet
