// Puts a parameter set's texts into the generator the way the main window's controls do:
// items are looked up in the current language, numbers are read from their texts, and units
// are applied before the levels are derived.
#pragma once

namespace qv {

class Generator;
class ParamTextTable;

void ApplyParamTable(const ParamTextTable& table, Generator& generator, int languageIndex);

} // namespace qv
