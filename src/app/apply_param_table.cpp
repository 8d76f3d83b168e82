#include "app/apply_param_table.h"

#include "app/main_controls.h"
#include "files/param_file.h"

namespace qv {

void ApplyParamTable(const ParamTextTable& table, Generator& generator, int languageIndex) {
    ParamSet set(languageIndex);
    set.texts = table;
    ValidateFilterTexts(set);
    MainControls(generator, languageIndex).ApplyParamTable(set);
}

} // namespace qv
