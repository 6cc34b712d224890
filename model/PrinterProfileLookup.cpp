#include "PrinterProfileLookup.h"

namespace {

const char* ProfileName(const void* profiles, std::size_t position)
{
    return (*static_cast<const std::vector<UninstallProfile>*>(profiles))[position].name;
}

const char* WordAt(const void* words, std::size_t position)
{
    return (*static_cast<const std::vector<std::string>*>(words))[position].c_str();
}

}  // namespace

std::string FirstWordOf(const char* text)
{
    const std::string whole(text ? text : "");
    return whole.substr(0, whole.find(' '));
}

PrinterProfileLookup::PrinterProfileLookup(const std::vector<UninstallProfile>& all)
    : profiles(all), byName(ProfileName), byWord(WordAt)
{
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        byName.Insert(&profiles, profiles[i].name, i);
        if (profiles[i].isManufacturer) {
            words.push_back(FirstWordOf(profiles[i].name));
            wordProfile.push_back(i);
        }
    }
    for (std::size_t w = 0; w < words.size(); ++w)
        byWord.Assign(&words, words[w].c_str(), w);
}

const UninstallProfile* PrinterProfileLookup::Find(const char* driverName) const
{
    const char* name = driverName ? driverName : "";
    const std::size_t named = byName.Find(&profiles, name);
    if (named != TextPositions::npos)
        return &profiles[named];
    const std::size_t word = byWord.Find(&words, FirstWordOf(name).c_str());
    return word == TextPositions::npos ? nullptr : &profiles[wordProfile[word]];
}
