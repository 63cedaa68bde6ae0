#include "tools/Options.h"

#include "platform/Profile.h"
#include "project/FileLoader.h"

#include <cstdio>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <unistd.h>

namespace ml::tool {

TOptions::TOptions(const TArgs& args, const std::set<std::string>& valueOptions,
                   const std::set<std::string>& flags) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-' && a != "-") {
            if (valueOptions.count(a)) {
                if (i + 1 >= args.size())
                    throw TUsageError{"option " + a + " needs a value"};
                Values[a] = args[++i];
            } else if (flags.count(a)) {
                Flags.insert(a);
            } else {
                throw TUsageError{"unknown option " + a + " (see --help)"};
            }
        } else {
            Rest.push_back(a);
        }
    }
}

std::optional<std::string> TOptions::Value(const std::string& name) const {
    auto it = Values.find(name);
    if (it == Values.end())
        return std::nullopt;
    return it->second;
}

std::string TOptions::Required(const std::string& name) const {
    auto value = Value(name);
    if (!value)
        throw TUsageError{"missing " + name + " (see --help)"};
    return *value;
}

int TOptions::Integer(const std::string& name, int defaultValue) const {
    auto value = Value(name);
    if (!value)
        return defaultValue;
    auto number = ParseInteger(*value);
    if (!number)
        throw TUsageError{name + " wants a whole number, not '" + *value + "'"};
    return *number;
}

void TOptions::ExpectPositional(std::size_t n, const std::string& what) const {
    if (Rest.size() != n)
        throw TUsageError{"expected " + what + " (see --help)"};
}

std::optional<TSize> TOptions::Size(const std::string& name) const {
    const auto text = Value(name);
    if (!text)
        return std::nullopt;
    static const std::regex form(R"(([0-9]{1,6})[xX]([0-9]{1,6}))");
    std::smatch m;
    if (std::regex_match(*text, m, form)) {
        const TSize size{std::stoi(m[1]), std::stoi(m[2])};
        if (size.Width >= 1 && size.Height >= 1 && size.Width <= kMaxPictureSide &&
            size.Height <= kMaxPictureSide)
            return size;
    }
    throw TUsageError{name + " wants WIDTHxHEIGHT, each 1 to " + std::to_string(kMaxPictureSide) +
                      ", not '" + *text + "'"};
}

void WriteOutputFile(const std::string& path, const std::string& bytes) {
    std::string temporary = path + ".part-" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            throw std::runtime_error("cannot write " + path);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::remove(temporary.c_str());
            throw std::runtime_error("cannot write " + path);
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace ml::tool
