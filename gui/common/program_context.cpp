#include "gui/common/program_context.h"

#include "gui/common/column_list_window.h"

namespace quintor {

ProgramContext::ProgramContext()
    : columnPrice_(real48::eightHundred), random_(RandomGenerator::clockSeed()) {}

ProgramContext::~ProgramContext() = default;

ColumnListWindow& ProgramContext::columnList() {
    if (!columnList_)
        columnList_ = std::make_unique<ColumnListWindow>();
    return *columnList_;
}

} // namespace quintor
