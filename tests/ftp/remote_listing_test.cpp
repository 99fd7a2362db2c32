#include "ftp/remote_listing.h"

#include <gtest/gtest.h>

namespace vistrel::ftp {
namespace {

struct Case {
  const char* line;
  std::optional<RemoteEntry> entry;
};

// Lines as servers of different kinds write them.
const Case kListCases[] = {
    {"-rw-r--r--   1 owner    group      302114 Mar  3 12:00 image 1.jpg", RemoteEntry{"image 1.jpg", false, 302114}},
    {"-rw-r--r--    1 0        0            4000 Dec 31  2019 tn_image 1.jpg", RemoteEntry{"tn_image 1.jpg", false, 4000}},
    // No group column, and a name that starts with a blank.
    {"-rw-r--r-- 1 ftp 12 Jan 10 09:15  leading", RemoteEntry{" leading", false, 12}},
    {"-rw-r--r--   1 anna anna 5000 Feb 28 23:59 \xC5\x81\xC3\xB3""d\xC5\xBA zima.jpg",
     RemoteEntry{"\xC5\x81\xC3\xB3""d\xC5\xBA zima.jpg", false, 5000}},
    {"drwxr-xr-x   2 owner    group        4096 Mar  3 12:00 thumbnails", RemoteEntry{"thumbnails", true, 4096}},
    {"lrwxrwxrwx   1 owner    group          11 Mar  3 12:00 latest -> index.html", RemoteEntry{"latest", false, 11}},
    // A name holding month-like words and numbers.
    {"-rw-r--r--   1 u g 7 May  1  2021 Jun 5 2020.txt", RemoteEntry{"Jun 5 2020.txt", false, 7}},
    {"drwxr-xr-x   2 owner    group        4096 Mar  3 12:00 .", std::nullopt},
    {"drwxr-xr-x   2 owner    group        4096 Mar  3 12:00 ..", std::nullopt},
    {"total 48", std::nullopt},
    {"03-03-20  12:00PM              302114 image 1.jpg", RemoteEntry{"image 1.jpg", false, 302114}},
    {"12-31-2019  09:15AM       <DIR>          thumbnails", RemoteEntry{"thumbnails", true, std::nullopt}},
    {"01-10-21  11:11       12 caf\xC3\xA9 menu.html", RemoteEntry{"caf\xC3\xA9 menu.html", false, 12}},
    {"", std::nullopt},
    {"garbage line", std::nullopt},
};

const Case kMlsdCases[] = {
    {"modify=20261209120420;perm=radfwMT;size=6;type=file;unique=fe00ga72213; f.txt", RemoteEntry{"f.txt", false, 6}},
    {"type=file;size=302114;modify=20200303120000; image 1.jpg", RemoteEntry{"image 1.jpg", false, 302114}},
    {"Type=dir;Modify=20200303120000; thumbnails", RemoteEntry{"thumbnails", true, std::nullopt}},
    {"type=file;size=5; \xC3\xA9t\xC3\xA9 ; x.jpg", RemoteEntry{"\xC3\xA9t\xC3\xA9 ; x.jpg", false, 5}},
    {"type=file; no size", RemoteEntry{"no size", false, std::nullopt}},
    {"type=cdir;modify=20200303120000; /gallery", std::nullopt},
    {"type=pdir;modify=20200303120000; ..", std::nullopt},
    {"size=5;modify=20200303120000; untyped", std::nullopt},
    {"type=file;size=5;", std::nullopt},
};

TEST(RemoteListingTest, ListLinesInUnixAndDosForms) {
  for (const Case& c : kListCases) EXPECT_EQ(parseListLine(c.line), c.entry) << c.line;
}

TEST(RemoteListingTest, MlsdLines) {
  for (const Case& c : kMlsdCases) EXPECT_EQ(parseMlsdLine(c.line), c.entry) << c.line;
}

TEST(RemoteListingTest, AReplyIsSplitIntoLinesEndingInCrLfOrLf) {
  const auto entries = parseListing("total 8\r\n-rw-r--r-- 1 u g 3 Mar  3 12:00 a b\r\n"
                                    "drwxr-xr-x 2 u g 4096 Mar  3 12:00 sub\n-rw-r--r-- 1 u g 1 Mar  3 12:00 c",
                                    false);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], (RemoteEntry{"a b", false, 3}));
  EXPECT_TRUE(entries[1].folder);
  EXPECT_EQ(entries[2].name, "c");
}

}  // namespace
}  // namespace vistrel::ftp
