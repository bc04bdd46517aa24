#include "client/protocol/GuardedList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Item {
    std::string name;
};

// Walks list and returns the visited names; act runs for each visited item.
std::vector<std::string> Walk(CGuardedList<Item*>& list, const std::function<void(Item*)>& act)
{
    std::vector<std::string> visited;
    list.ForEach([&](Item* item) {
        visited.push_back(item->name);
        act(item);
    });
    return visited;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(GuardedList, ChangesDuringAWalk)
{
    Item a{"a"}, b{"b"}, c{"c"}, d{"d"};
    const struct {
        const char* what;
        std::function<void(CGuardedList<Item*>&, Item*)> act;
        Names visited;
        Names after;
    } cases[] = {
        {"nothing", [](auto&, Item*) {}, {"a", "b", "c"}, {"a", "b", "c"}},
        {"each removes itself", [](auto& l, Item* i) { l.Remove(i); }, {"a", "b", "c"}, {}},
        {"a removes b",
         [&](auto& l, Item* i) {
             if (i == &a)
                 l.Remove(&b);
         },
         {"a", "c"},
         {"a", "c"}},
        {"b removes a",
         [&](auto& l, Item* i) {
             if (i == &b)
                 l.Remove(&a);
         },
         {"a", "b", "c"},
         {"b", "c"}},
        {"a appends d",
         [&](auto& l, Item* i) {
             if (i == &a)
                 l.Add(&d);
         },
         {"a", "b", "c", "d"},
         {"a", "b", "c", "d"}},
        {"the last appends d",
         [&](auto& l, Item* i) {
             if (i == &c)
                 l.Add(&d);
         },
         {"a", "b", "c"},
         {"a", "b", "c", "d"}},
        {"b removes c and re-adds it",
         [&](auto& l, Item* i) {
             if (i == &b) {
                 l.Remove(&c);
                 l.Add(&c);
             }
         },
         {"a", "b", "c"},
         {"a", "b", "c"}},
        {"remove of an absent item", [&](auto& l, Item*) { l.Remove(&d); }, {"a", "b", "c"}, {"a", "b", "c"}},
        {"a nested walk removes c",
         [&](auto& l, Item* i) {
             if (i == &a)
                 l.ForEach([&](Item* inner) {
                     if (inner == &c)
                         l.Remove(&c);
                 });
         },
         {"a", "b"},
         {"a", "b"}},
    };
    for (const auto& c2 : cases) {
        SCOPED_TRACE(c2.what);
        CGuardedList<Item*> list;
        list.Add(&a);
        list.Add(&b);
        list.Add(&c);
        EXPECT_EQ(Walk(list, [&](Item* i) { c2.act(list, i); }), c2.visited);
        EXPECT_EQ(Walk(list, [](Item*) {}), c2.after);
        EXPECT_EQ(list.Size(), c2.after.size());
    }
}

TEST(GuardedList, RemoveTakesTheFirstEqualEntryOnly)
{
    Item a{"a"}, b{"b"};
    CGuardedList<Item*> list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&a);
    list.Remove(&a);
    EXPECT_EQ(Walk(list, [](Item*) {}), (Names{"b", "a"}));
    list.Remove(&a);
    list.Remove(&b);
    EXPECT_TRUE(list.Empty());
}
