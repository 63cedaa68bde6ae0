#pragma once
// Small command-line helpers shared by the subcommands: option parsing and output files that
// appear only when complete.

#include "tools/Command.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ml::tool {

struct TSize {
    int Width = 0;
    int Height = 0;
};

// Parses "--name value" options and "--flag" switches; everything else is positional.
// Unknown options raise TUsageError.
class TOptions {
public:
    TOptions(const TArgs& args, const std::set<std::string>& valueOptions,
             const std::set<std::string>& flags = {});

    std::optional<std::string> Value(const std::string& name) const;
    std::string Required(const std::string& name) const; // TUsageError when missing
    int Integer(const std::string& name, int defaultValue) const;
    bool Flag(const std::string& name) const { return Flags.count(name) > 0; }
    const std::vector<std::string>& Positional() const { return Rest; }
    // Exactly n positional arguments, or TUsageError naming what was expected.
    void ExpectPositional(std::size_t n, const std::string& what) const;
    // WIDTHxHEIGHT of an option, each 1 to the largest picture side; nothing when absent.
    std::optional<TSize> Size(const std::string& name) const;

private:
    std::map<std::string, std::string> Values;
    std::set<std::string> Flags;
    std::vector<std::string> Rest;
};

// Writes bytes to path through a temporary file beside it that is renamed at the end, so a
// failed run never leaves a half-written output. Raises std::runtime_error on failure.
void WriteOutputFile(const std::string& path, const std::string& bytes);

} // namespace ml::tool
