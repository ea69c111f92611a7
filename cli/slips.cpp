#include "cli/commands.h"

#include "core/conversions.h"
#include "core/slip_layout.h"
#include "core/system_file.h"

#include <iostream>
#include <optional>

namespace quintor::cli {

namespace {

// "4800x6600": two positive integers.
std::optional<PageSize> parsePage(const std::string& text) {
    const auto cross = text.find('x');
    if (cross == std::string::npos)
        return std::nullopt;
    const auto width = parseInteger(std::string_view(text).substr(0, cross));
    const auto height = parseInteger(std::string_view(text).substr(cross + 1));
    if (!width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    return PageSize{static_cast<long double>(*width), static_cast<long double>(*height)};
}

std::optional<SlipLayout> slipLayoutNamed(const std::string& name) {
    if (name == "verticale")
        return SlipLayout::vertical;
    if (name == "orizzontale")
        return SlipLayout::horizontal;
    return std::nullopt;
}

} // namespace

int runSlips(const Arguments& args) {
    const char* usageText = "slips FILE.qtr --layout verticale|orizzontale --page WxH";
    const std::string* layoutName = optionValue(args, "--layout");
    const std::string* pageText = optionValue(args, "--page");
    if (!positionalArguments(args, {"--layout", "--page"}) || args.size() != 5 ||
        args[0].starts_with("--") || !layoutName || !pageText)
        return usage(usageText);
    const auto layout = slipLayoutNamed(*layoutName);
    const auto page = parsePage(*pageText);
    if (!layout || !page)
        return usage(usageText);

    SystemState system;
    if (!readSystemFile(args[0], system))
        return refuse(unreadableSystemMessage);
    std::vector<std::size_t> incomplete;
    const std::size_t slips = slipCount(system.finalColumns.size());
    for (std::size_t k = 1; k <= slips; ++k) {
        const SlipPlan plan = planSlip(*layout, system.layout, *page, system.finalColumns, k);
        for (const SlipMark& mark : plan.marks)
            std::cout << k << ' ' << mark.slipColumn << ' ' << mark.number << ' ' << mark.rect.x1
                      << ' ' << mark.rect.y1 << ' ' << mark.rect.x2 << ' ' << mark.rect.y2 << '\n';
        incomplete.insert(incomplete.end(), plan.incompleteRows.begin(), plan.incompleteRows.end());
    }
    if (!incomplete.empty())
        note(incompleteColumnsMessage(incomplete));
    return ok;
}

} // namespace quintor::cli
