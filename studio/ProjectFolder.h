#pragma once
// A project folder's settings (project.ini) as the project page edits them: the pictures of
// the show in order with their include ticks, the music list, and every other value by
// section and key. Values the author never touched stay out of the file, so the show keeps
// its own defaults for them; everything else in the file is left as it was.

#include <map>
#include <string>
#include <vector>

namespace ml::studio {

struct TProjectPicture {
    std::string Name; // as [FileList] names it
    bool Included = true;
};

class TProjectFolder {
public:
    static constexpr const char* kSettingsFile = "project.ini";

    // Whether the folder holds a project.ini.
    static bool IsProjectFolder(const std::string& folder);

    // Reads the folder's project.ini; a folder without one gives an empty project that Save
    // creates. The folder ends up with a trailing "/".
    void Load(const std::string& folder);
    const std::string& Folder() const { return Dir; }
    std::string SettingsPath() const { return Dir + kSettingsFile; }
    bool Exists() const { return !Dir.empty(); }

    std::vector<TProjectPicture> Pictures;
    std::vector<std::string> Music;

    // A value as the file holds it, or the schema's default when the file has none.
    std::string Value(const std::string& section, const std::string& key) const;
    void SetValue(const std::string& section, const std::string& key, const std::string& value);
    // Adds a picture to the end of the show (included) unless the list has it already.
    // Returns whether it was added.
    bool AddPicture(const std::string& name);

    bool Modified() const { return Dirty; }
    void MarkModified() { Dirty = true; }
    // Writes the changed values, the picture list and the music list into project.ini.
    // Raises Exception when the file cannot be written.
    void Save();

private:
    std::string Dir;
    std::map<std::string, std::map<std::string, std::string>> Values; // read from the file
    std::map<std::pair<std::string, std::string>, std::string> Changed;
    bool Dirty = false;
};

} // namespace ml::studio
