#include "server/LookupTables.h"

#include "server/Database.h"
#include "server/XmlWriter.h"

#include <vector>

namespace corvanta::server {

namespace {

struct Item {
    int id;
    const char* text;
};

struct Genre {
    int id;
    const char* text;
    std::vector<Item> sub;
};

const std::vector<Genre>& Genres()
{
    static const std::vector<Genre> genres = {
        {0, "Unknown", {{0, "Unknown"}}},
        {201,
         "Rock",
         {{201, "Rock"},
          {205, "Prog & Art Rock"},
          {210, "Boogie & Blues Rock"},
          {215, "Classic Rock"},
          {220, "Folk Rock"}}},
        {301, "Pop", {{301, "Pop"}, {305, "Dance Pop"}, {310, "Synth Pop"}}},
        {401, "Jazz", {{401, "Jazz"}, {405, "Bebop"}, {410, "Fusion"}}},
        {501, "Blues", {{501, "Blues"}, {505, "Delta Blues"}, {510, "Chicago Blues"}}},
        {601, "Electronic", {{601, "Electronic"}, {605, "House"}, {610, "Techno"}, {615, "Ambient"}}},
        {701, "Hip-Hop", {{701, "Hip-Hop"}, {705, "Old School"}}},
        {801, "Classical", {{801, "Classical"}, {805, "Baroque"}, {810, "Romantic"}}},
        {901, "Country", {{901, "Country"}, {905, "Bluegrass"}}},
        {1001, "Folk", {{1001, "Folk"}, {1005, "Celtic"}}},
        {1101, "Soul & R&B", {{1101, "Soul & R&B"}, {1105, "Funk"}, {1110, "Motown"}}},
        {1201, "Reggae", {{1201, "Reggae"}, {1205, "Ska"}, {1210, "Dub"}}},
        {1301, "World", {{1301, "World"}, {1305, "Latin"}, {1310, "African"}}},
        {1401, "Metal", {{1401, "Metal"}, {1405, "Heavy Metal"}}},
    };
    return genres;
}

struct Table {
    const char* name;
    std::vector<Item> items;
};

const std::vector<Table>& FlatTables()
{
    static const std::vector<Table> tables = {
        {"Mood",
         {{0, "None"},
          {1, "Happy"},
          {2, "Mellow"},
          {3, "Energetic"},
          {4, "Romantic"},
          {5, "Melancholy"},
          {6, "Angry"},
          {7, "Dreamy"},
          {8, "Party"}}},
        {"Theme",
         {{0, "None"},
          {1, "Road Trip"},
          {2, "Workout"},
          {3, "Rainy Day"},
          {4, "Party"},
          {5, "Late Night"},
          {6, "Summer"},
          {7, "Love Songs"},
          {8, "Study"}}},
        {"Country",
         {{0, "unknown"},        {1010, "Argentina"}, {1020, "Australia"}, {1030, "Austria"}, {1040, "Belgium"},
          {1050, "Brazil"},      {1060, "Canada"},    {1070, "Denmark"},   {1080, "Finland"}, {1090, "France"},
          {1100, "Germany"},     {1110, "Ireland"},   {1120, "Italy"},     {1130, "Japan"},   {1140, "Mexico"},
          {1150, "Netherlands"}, {1160, "Norway"},    {1170, "Spain"},     {1180, "Sweden"},  {1185, "United Kingdom"},
          {1190, "USA"}}},
        {"StateCode",
         {{0, "--"},  {1, "AL"},  {2, "AK"},  {3, "AZ"},  {4, "AR"},  {5, "CA"},  {6, "CO"},  {7, "CT"},  {8, "DE"},
          {9, "DC"},  {10, "FL"}, {11, "GA"}, {12, "HI"}, {13, "ID"}, {14, "IL"}, {15, "IN"}, {16, "IA"}, {17, "KS"},
          {18, "KY"}, {19, "LA"}, {20, "ME"}, {21, "MD"}, {22, "MA"}, {23, "MI"}, {24, "MN"}, {25, "MS"}, {26, "MO"},
          {27, "MT"}, {28, "NE"}, {29, "NV"}, {30, "NH"}, {31, "NJ"}, {32, "NM"}, {33, "NY"}, {34, "NC"}, {35, "ND"},
          {36, "OH"}, {37, "OK"}, {38, "OR"}, {39, "PA"}, {40, "RI"}, {41, "SC"}, {42, "SD"}, {43, "TN"}, {44, "TX"},
          {45, "UT"}, {46, "VT"}, {47, "VA"}, {48, "WA"}, {49, "WV"}, {50, "WI"}, {51, "WY"}}},
        {"MaritalStatus", {{0, "unspecified"}, {1, "Single"}, {2, "Married"}, {3, "Taken"}, {4, "Swingin'"}}},
        {"SexCode", {{0, "unspecified"}, {1, "Female"}, {2, "Male"}}},
        {"HeardAboutSource",
         {{0, "unspecified"},
          {1, "A friend"},
          {2, "Web search"},
          {3, "Magazine"},
          {4, "Radio"},
          {5, "Music forum"},
          {6, "Other"}}},
    };
    return tables;
}

}  // namespace

void CLookupTables::SeedIfEmpty(CConnection& db)
{
    {
        CQuery count = db.Prepare("SELECT count(*) FROM lookup_items");
        if (count.Step() && count.Int(0) > 0)
            return;
    }
    CTransaction transaction(db);
    int ord = 0;
    auto add = [&](const char* table, int id, const char* text, int parent) {
        CQuery insert =
            db.Prepare("INSERT INTO lookup_items(table_name, id, text, parent_id, ord) VALUES (?1, ?2, ?3, ?4, ?5)");
        insert.Bind(1, table).Bind(2, id).Bind(3, text);
        if (parent < 0)
            insert.BindNull(4);
        else
            insert.Bind(4, parent);
        insert.Bind(5, ord++).Run();
    };
    for (const Genre& genre : Genres()) {
        add("Genres", genre.id, genre.text, -1);
        for (const Item& sub : genre.sub)
            add("SubGenres", sub.id, sub.text, genre.id);
    }
    for (const Table& table : FlatTables())
        for (const Item& item : table.items)
            add(table.name, item.id, item.text, -1);
    transaction.Commit();
}

std::string CLookupTables::ToXml(CConnection& db)
{
    struct Row {
        std::string table;
        int64_t id;
        std::string text;
        int64_t parent;
    };
    std::vector<Row> rows;
    {
        CQuery query = db.Prepare("SELECT table_name, id, text, ifnull(parent_id, -1) FROM lookup_items ORDER BY ord");
        while (query.Step())
            rows.push_back({query.Text(0), query.Int(1), query.Text(2), query.Int(3)});
    }
    CXmlWriter xml;
    xml.Open("Document");
    std::string current;
    for (const Row& row : rows) {
        if (row.table == "SubGenres")
            continue;
        if (row.table != current) {
            if (!current.empty())
                xml.Close();
            xml.Open("Select").Attribute("Name", row.table);
            current = row.table;
        }
        xml.Open("Item").Attribute("ID", row.id).Attribute("Text", row.text);
        if (row.table == "Genres") {
            std::vector<const Row*> subs;
            for (const Row& sub : rows)
                if (sub.table == "SubGenres" && sub.parent == row.id)
                    subs.push_back(&sub);
            if (!subs.empty()) {
                xml.Open("Select").Attribute("Name", "SubGenres").Attribute("Size", static_cast<int64_t>(subs.size()));
                xml.Attribute("ID", row.id);
                for (const Row* sub : subs)
                    xml.Open("Item").Attribute("ID", sub->id).Attribute("Text", sub->text).Close();
                xml.Close();
            }
        }
        xml.Close();
    }
    return xml.Finish();
}

bool CLookupTables::Contains(CConnection& db, const std::string& table, int64_t id)
{
    CQuery query = db.Prepare("SELECT 1 FROM lookup_items WHERE table_name = ?1 AND id = ?2");
    query.Bind(1, table).Bind(2, id);
    return query.Step();
}

std::string CLookupTables::Text(CConnection& db, const std::string& table, int64_t id)
{
    CQuery query = db.Prepare("SELECT text FROM lookup_items WHERE table_name = ?1 AND id = ?2");
    query.Bind(1, table).Bind(2, id);
    return query.Step() ? query.Text(0) : std::string();
}

}  // namespace corvanta::server
