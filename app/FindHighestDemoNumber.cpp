#include "app/FindHighestDemoNumber.h"

#include "app/LeadingInt.h"
#include "platform/fs/FileFinder.h"
#include "platform/fs/FileOps.h"

#include <set>
#include <string_view>

namespace Tandry {

int FindHighestDemoNumber(const std::string& folder, const std::string& prefix, int keepCount, bool deleteOldest)
{
    Platform::FindData data;
    std::unique_ptr<Platform::FileFinder> finder = Platform::FileFinder::First(folder + prefix + "*.dmo", data);
    if (!finder)
        return 0;
    std::set<int> numbers;
    do {
        // The listing matches the prefix in any case; the number is read only
        // after the prefix spelled exactly, as the recorder writes it.
        std::string_view name = data.name;
        if (name.substr(0, prefix.size()) != prefix)
            continue;
        if (std::optional<int> number = ReadLeadingInt(name.substr(prefix.size())))
            numbers.insert(*number);
    } while (finder->Next(data));
    if (numbers.empty())
        return 0;
    if (deleteOldest && static_cast<long long>(numbers.size()) >= keepCount)
        Platform::RemoveFile(NumberedDemoFileName(folder, prefix, *numbers.begin()));
    return *numbers.rbegin();
}

std::string NumberedDemoFileName(const std::string& folder, const std::string& prefix, long long number)
{
    return folder + prefix + std::to_string(number) + ".dmo";
}

} // namespace Tandry
