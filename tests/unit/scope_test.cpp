// The scope of a run and the schema name the job takes from its
// configuration value.
#include "common/scope.h"

#include <gtest/gtest.h>

#include <string>

#include "config/schema_name.h"

TEST(Scope, FollowsTheGivenCodesAndPicksItsForm) {
  EXPECT_EQ(ScopeOf("", ""), Scope::kPlanGroup);
  EXPECT_EQ(ScopeOf("", "ESA01"), Scope::kPlanGroup);  // a type without a location
  EXPECT_EQ(ScopeOf("ESO01", ""), Scope::kLocation);
  EXPECT_EQ(ScopeOf("ESO01", "ESA01"), Scope::kLocationType);

  const struct {
    Scope scope;
    const char* tag;
    const char* keys;
  } cases[] = {{Scope::kPlanGroup, "Plg", ""},
               {Scope::kLocation, "Eso", " ESO: L"},
               {Scope::kLocationType, "Esa", " ESO: L ESA: T"}};
  for (const auto& c : cases) {
    EXPECT_STREQ(ScopeTag(c.scope), c.tag);
    EXPECT_EQ(ScopeKeys(c.scope, "L", "T"), c.keys);
  }
}

TEST(SchemaName, DropsTheTrailingCharacterAndRefusesWhatCannotNameATable) {
  EXPECT_EQ(SchemaAusWert("plexor.").name, "plexor");
  EXPECT_EQ(SchemaAusWert(std::string(20, 's') + ".").name, std::string(20, 's'));
  // Too long or empty: no schema, but nothing refused either.
  const SchemaName too_long = SchemaAusWert(std::string(21, 's') + ".");
  EXPECT_TRUE(too_long.name.empty());
  EXPECT_FALSE(too_long.refused);
  EXPECT_TRUE(SchemaAusWert("").name.empty());
  for (const char* bad : {"pl-x.", "a b.", "x';--.", "dbo.t."}) {
    const SchemaName s = SchemaAusWert(bad);
    EXPECT_TRUE(s.refused) << bad;
    EXPECT_TRUE(s.name.empty()) << bad;
  }
}
