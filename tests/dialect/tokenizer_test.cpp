#include "dialect/tokenizer.h"

#include <gtest/gtest.h>

#include "dialect/dialect.h"

namespace tsq {
namespace {

std::vector<Token> TokensOf(std::string_view sql) {
  TokenizeResult result = Tokenize(sql);
  EXPECT_TRUE(result.ok) << sql << ": " << result.error.message;
  return result.tokens;
}

TEST(Tokenizer, StringsKeepQuotesCommentsAndKeywordsInside) {
  const std::vector<Token> t = TokensOf("SELECT 'it''s -- not /* a */ comment', N'x'");
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[1].kind, TokenKind::kString);
  EXPECT_EQ(t[1].text, "it's -- not /* a */ comment");
  EXPECT_EQ(RenderToken(t[1]), "'it''s -- not /* a */ comment'");
  EXPECT_EQ(t[3].kind, TokenKind::kString);  // the N prefix is dropped
  EXPECT_EQ(RenderToken(t[3]), "'x'");
}

TEST(Tokenizer, QuotedNamesBecomeDoubleQuotedAndNeverKeywords) {
  const std::vector<Token> t = TokensOf("SELECT [a]]b], \"c\"\"d\", [select] FROM [plexor].x");
  EXPECT_EQ(t[1].kind, TokenKind::kQuotedName);
  EXPECT_EQ(t[1].text, "a]b");
  EXPECT_EQ(RenderToken(t[1]), "\"a]b\"");
  EXPECT_EQ(RenderToken(t[3]), "\"c\"\"d\"");
  EXPECT_FALSE(IsWord(t[5], "SELECT"));
  EXPECT_EQ(NameOf(t[7]), "plexor");
}

TEST(Tokenizer, WordsContainingKeywordsStayWhole) {
  const std::vector<Token> t = TokensOf("BdpAkt<>9999 AND ANDx ORDER_BY");
  ASSERT_EQ(t.size(), 6u);
  EXPECT_EQ(t[0].text, "BdpAkt");
  EXPECT_EQ(t[1].text, "<>");
  EXPECT_EQ(t[2].kind, TokenKind::kNumber);
  EXPECT_TRUE(IsWord(t[3], "AND"));
  EXPECT_FALSE(IsWord(t[4], "AND"));
  EXPECT_EQ(t[5].text, "ORDER_BY");
}

TEST(Tokenizer, NumbersAndOperators) {
  const std::vector<Token> t = TokensOf("1.5e3 .5 0.0 -1 a!<b c!>d e>=f");
  EXPECT_EQ(t[0].text, "1.5e3");
  EXPECT_EQ(t[1].text, ".5");
  EXPECT_EQ(t[2].text, "0.0");
  EXPECT_EQ(t[3].text, "-");
  EXPECT_EQ(t[4].text, "1");
  EXPECT_EQ(RenderToken(t[6]), ">=");  // !< is "not less than"
  EXPECT_EQ(RenderToken(t[9]), "<=");
  EXPECT_EQ(t[12].text, ">=");
}

TEST(Tokenizer, CommentsSeparateTokensAndNest) {
  const std::vector<Token> t = TokensOf("a/* x /* nested */ still comment */b -- tail\nc");
  ASSERT_EQ(t.size(), 3u);
  EXPECT_TRUE(t[1].space_before);
  EXPECT_EQ(t[2].text, "c");
}

TEST(Tokenizer, UnterminatedTextsFailAsSqlServerDoes) {
  TokenizeResult string = Tokenize("SELECT 'abc");
  EXPECT_FALSE(string.ok);
  EXPECT_EQ(string.error.native, 105);
  EXPECT_EQ(string.error.sqlstate, "42000");
  EXPECT_EQ(string.error.message, "Unclosed quotation mark after the character string 'abc'.");
  EXPECT_EQ(Tokenize("SELECT [abc").error.native, 105);
  EXPECT_EQ(Tokenize("SELECT 'it''s").error.native, 105);
  TokenizeResult comment = Tokenize("SELECT 1 /* /* */");
  EXPECT_FALSE(comment.ok);
  EXPECT_EQ(comment.error.native, 113);
}

}  // namespace
}  // namespace tsq
