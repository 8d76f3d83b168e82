// Whether a parameter text means what it says, by the rules the controls read it with: an item
// of its key's list, one number in its key's notation, a number the program uses as it is.
// qvrender refuses --set values that are not and warns about a parameter file's.
#pragma once

#include "files/param_text_table.h"

#include <string>
#include <string_view>

namespace qv {

enum class ParamVerdict {
    Ok,
    NoSuchItem, // matches no item of its list: the controls take the first item
    NotANumber, // not one number in its notation: the controls take what the reader makes of it
    Limited,    // a number the program takes as another value
};

struct ParamCheck {
    ParamVerdict verdict = ParamVerdict::Ok;
    std::string problem; // "matches no item (OFF, sine, ...)", "is taken as 1000", ...
    std::string used;    // what the program takes the text for (not for Ok)
};

// Checks value as the text of key within set: items in the set's language (the output channels
// of its channel count), numbers in the notation and limits of the slot's units. Free texts
// (comments, the user waves' file names and channel selections) are always Ok.
ParamCheck CheckParamValue(const ParamTextTable& set, const ParamKey& key, std::string_view value);

// One line about a check that is not Ok: `Wave1.Freq="abc" is not a number`, with " and is
// taken as 0" when withUsed (a limited value names what it is taken as anyway).
std::string ParamCheckMessage(const ParamKey& key, std::string_view value, const ParamCheck& check,
                              bool withUsed);

} // namespace qv
