#include "tools/Options.h"

#include "platform/Profile.h"

#include <cstdio>
#include <fstream>
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
