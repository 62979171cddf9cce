#pragma once

namespace quillet {

// Marks a change that a pane makes to its own controls while it lasts, so that their signals are not taken
// for the user's: the pane's handlers return at once while its counter is above zero.
class OwnChange final {
public:
    explicit OwnChange(int& counter) : m_counter(counter) { ++m_counter; }
    ~OwnChange() { --m_counter; }
    OwnChange(const OwnChange&) = delete;
    OwnChange& operator=(const OwnChange&) = delete;

private:
    int& m_counter;
};

}  // namespace quillet
