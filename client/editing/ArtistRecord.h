#pragma once
// An artist as the client creates it in the catalogue.
#include "client/catalogue/OleDateTime.h"

#include <string>

struct ArtistRecord {
    std::string OfficialURL;
    std::string PlaceOfDeath;
    COleDateTime DateOfDeath;  // day 0 (12/30/1899) when unknown
    COleDateTime DateOfBirth;
    std::string PlaceOfBirth;
    std::string Name;
};
