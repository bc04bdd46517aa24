#pragma once
// A member's profile document in the object notation the profile pages read
// and write: the blank one every new member starts with, or one filled in
// (the demo community's members).
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace corvanta::server {

struct ProfileValues {
    // Keys with their values, as in the love and hate lists.
    using KeyedLists = std::vector<std::pair<std::string, std::vector<std::string>>>;

    std::string handle;
    std::string email;
    std::string first;
    std::string last;
    // addr1, addr2, city, state, zip, country.
    std::array<std::string, 6> address;
    bool addressPrivate = true;
    int maritalStatus = 0;
    // "MM/DD/YYYY"; empty for none.
    std::string dateOfBirth;
    // Each home page's address and description.
    std::vector<std::pair<std::string, std::string>> homepages;
    KeyedLists loveList;
    KeyedLists hateList;
};

std::string ProfileDocument(const ProfileValues& values);

}  // namespace corvanta::server
