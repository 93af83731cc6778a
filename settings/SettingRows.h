#pragma once

#include "settings/Oini.h"

#include <cstdint>
#include <string>

// Settings as rows: each setting of the settings file is one row that names its section
// and key, the value it takes when the file has none, how a value read is taken, and the
// field of a state object that holds it while the program runs. A table of rows is read in its
// order at start-up and written in its order at exit, so a new setting is one more row, and tests
// read the file through the same rows.
namespace sorvanti::settings {

template <typename State> struct Row {
    const char* section;
    const char* key;
    // A number field, or else a text field (UTF-8).
    int32_t& (*number)(State&) = nullptr;
    std::string& (*text)(State&) = nullptr;
    // The value when the file has none: a fixed one, or one computed from the rows read
    // before this one (a window centred by the size just read).
    int32_t numberDefault = 0;
    int32_t (*computedDefault)(const State&) = nullptr;
    const char* textDefault = "";
    // What a number read becomes, given the state before it is stored (a value the program
    // cannot take replaced, a range narrowed); as read when not set.
    int32_t (*readAs)(const State&, int32_t read) = nullptr;
};

// The readAs of a switch: any stored value other than 0 means on, and is written back as 1.
template <typename State> int32_t onOrOff(const State&, int32_t read) {
    return read != 0 ? 1 : 0;
}

// `rows`: any range of Row<State>.
template <typename Rows, typename State>
void readRows(const Rows& rows, const Oini& ini, State& state) {
    for (const Row<State>& row : rows) {
        if (row.number) {
            const int32_t read = ini.ReadInteger(row.section, row.key,
                                                 row.computedDefault ? row.computedDefault(state)
                                                                     : row.numberDefault);
            row.number(state) = row.readAs ? row.readAs(state, read) : read;
        } else {
            row.text(state) = ini.ReadString(row.section, row.key, row.textDefault);
        }
    }
}

template <typename Rows, typename State> void writeRows(const Rows& rows, State& state, Oini& ini) {
    for (const Row<State>& row : rows) {
        if (row.number)
            ini.WriteInteger(row.section, row.key, row.number(state));
        else
            ini.WriteString(row.section, row.key, row.text(state));
    }
}

} // namespace sorvanti::settings
