#pragma once

#include "core/column_filters.h"

#include <span>

namespace quintor::reference {

// Whether a column passes the filters, by counting straight from their definitions.
bool passesFilters(const ColumnFilters& filters, std::span<const Column> newestFirstDraws,
                   const Column& column);

} // namespace quintor::reference
