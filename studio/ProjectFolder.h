#pragma once
// A project folder's settings (project.ini) as the project page edits them: the pictures of
// the show in order, the folder's other pictures beside them to tick in, the music list, and
// every other value by section and key. Values the author never touched stay out of the
// file, so the show keeps its own defaults for them; everything else in the file is left as
// it was.

#include <map>
#include <string>
#include <vector>

namespace ml::studio {

struct TProjectPicture {
    std::string Name; // as [FileList] names it
    // The show plays every picture [FileList] names, whatever its value, so a picture is in
    // the show by being listed: the ticked ones are written there, the others are not.
    bool Included = true;
};

class TProjectFolder {
public:
    static constexpr const char* kSettingsFile = "project.ini";

    // Whether the folder holds a project.ini.
    static bool IsProjectFolder(const std::string& folder);

    // Reads the folder's project.ini: the listed pictures first, in order (those listed with
    // 0 unticked), then the folder's other pictures the show could hold, unticked. The folder
    // ends up with a trailing "/".
    void Load(const std::string& folder);
    const std::string& Folder() const { return Dir; }
    std::string SettingsPath() const { return Dir + kSettingsFile; }
    bool Exists() const { return !Dir.empty(); }

    std::vector<TProjectPicture> Pictures;
    std::vector<std::string> Music;

    // A value as the file holds it, or the schema's default when the file has none.
    std::string Value(const std::string& section, const std::string& key) const;
    void SetValue(const std::string& section, const std::string& key, const std::string& value);
    // Puts a picture in the show: ticks it, or adds it at the end. Returns false when it was
    // in the show already.
    bool AddPicture(const std::string& name);

    bool Modified() const { return Dirty; }
    void MarkModified() { Dirty = true; }
    // Writes the changed values, the ticked pictures and the music list into project.ini.
    // Raises Exception when the file cannot be written.
    void Save();

private:
    void AddUnlistedPictures();

    std::string Dir;
    std::map<std::string, std::map<std::string, std::string>> Values; // read from the file
    std::map<std::pair<std::string, std::string>, std::string> Changed;
    bool Dirty = false;
};

} // namespace ml::studio
