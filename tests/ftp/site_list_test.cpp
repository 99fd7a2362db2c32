#include "ftp/site_list.h"

#include <gtest/gtest.h>

#include "ftp/clear_text_warning.h"
#include "ftp/password_cipher.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::ftp {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

fs::perms permissionsOf(const fs::path& path) { return fs::status(path).permissions() & fs::perms::all; }

TEST(SiteLineTest, SplitsSixFieldsAndKeepsTheRestInTheDirectory) {
  const Site site = parseSiteLine("Home>myhost>anna>>21>/www/gallery");
  EXPECT_EQ(site, (Site{"Home", "myhost", "anna", "", "21", "/www/gallery"}));
  EXPECT_EQ(siteLine(site), "Home>myhost>anna>>21>/www/gallery");
  EXPECT_EQ(parseSiteLine("a>b>c>d>21>x>y>z").directory, "x>y>z");
  EXPECT_EQ(parseSiteLine("only>two"), (Site{"only", "two", "", "", "", ""}));
}

TEST(SiteLineTest, RemoteFolderLosesALeadingSlashUnlessItIsTheRoot) {
  EXPECT_EQ(remoteFolder("/www/gallery"), "www/gallery");
  EXPECT_EQ(remoteFolder("/"), "/");
  EXPECT_EQ(remoteFolder("www"), "www");
  EXPECT_EQ(remoteFolder(""), "");
}

TEST(SiteLineTest, PortMustBeANumber) {
  EXPECT_EQ(sitePort(parseSiteLine("a>b>c>>2121>d")), 2121);
  EXPECT_THROW(sitePort(parseSiteLine("a>b>c>>x21>d")), Error);
  EXPECT_THROW(sitePort(parseSiteLine("a>b>c>>70000>d")), Error);
}

class SiteListTest : public ::testing::Test {
 protected:
  SiteList list() {
    SiteList sites(folder_ / "ftp.dat");
    sites.load();
    return sites;
  }
  void store(const std::string& content) { platform::writeFileAtomically(folder_ / "ftp.dat", content); }
  std::string stored() { return platform::readFile(folder_ / "ftp.dat"); }

  SiteEntry entry(std::string description, std::string password = "pw") {
    SiteEntry e;
    e.description = std::move(description);
    e.address = "host";
    e.user = "anna";
    e.password = std::move(password);
    e.port = 21;
    e.directory = "/www";
    return e;
  }

  test::TempFolder folder_;
  test::ScriptedPrompter prompter_;
};

TEST_F(SiteListTest, MissingFileIsCreatedEmptyAndReadsAsNoSites) {
  SiteList sites(folder_ / "data" / "ftp.dat");
  sites.ensureExists();
  EXPECT_EQ(platform::readFile(folder_ / "data" / "ftp.dat"), "");
  EXPECT_EQ(permissionsOf(folder_ / "data" / "ftp.dat"), fs::perms(0600));
  EXPECT_EQ(permissionsOf(folder_ / "data"), fs::perms(0700));
  sites.load();
  EXPECT_TRUE(sites.lines().empty());
}

TEST_F(SiteListTest, AListOthersCouldReadIsMadePrivateWhenLoadedAndKeptSoWhenSaved) {
  store("Home>host>anna>x>21>/www\r\n");
  fs::permissions(folder_ / "ftp.dat", fs::perms(0644));
  fs::permissions(folder_.path(), fs::perms(0755));
  SiteList sites = list();
  EXPECT_EQ(permissionsOf(folder_ / "ftp.dat"), fs::perms(0600));
  EXPECT_EQ(permissionsOf(folder_.path()), fs::perms(0700));
  EXPECT_EQ(saveSiteEntry(sites, entry("Work"), prompter_), SaveOutcome::Saved);
  EXPECT_EQ(permissionsOf(folder_ / "ftp.dat"), fs::perms(0600));
}

TEST_F(SiteListTest, APasswordInClearIsWarnedOfOncePerSite) {
  platform::SettingsStore settings(folder_ / "settings.reg");
  const Site sites[] = {parseSiteLine("Plain>host>anna>>21>/"), parseSiteLine("Tls>ftps://host>anna>>21>/"),
                        parseSiteLine("Open>host>anonymous>>21>/"), parseSiteLine("Plain>host>anna>>21>/")};
  for (const Site& site : sites) warnOfPasswordInClear(site, prompter_, settings);
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_NE(prompter_.shown()[0].text.find("\"Plain\" uses plain FTP"), std::string::npos);
  EXPECT_NE(prompter_.shown()[0].text.find("ftps://"), std::string::npos);
}

TEST_F(SiteListTest, LinesWithoutDescriptionAreHiddenButKept) {
  store(">ghost>u>>21>/x\r\nH\xF6me>myhost>anna>>21>/www/gallery\r\n");  // Latin-1 of an older version
  SiteList sites = list();
  ASSERT_EQ(sites.shownSites().size(), 1u);
  EXPECT_EQ(sites.shownSites()[0].description, "H\u00f6me");
  EXPECT_FALSE(sites.find("").has_value());
  deleteSite(sites, sites.shownSites()[0]);
  EXPECT_EQ(stored(), ">ghost>u>>21>/x\r\n");
}

TEST_F(SiteListTest, AddingEnciphersThePasswordAndAppends) {
  store("First>h>u>>21>/a\n");  // LF-only files read fine and are written back with CR LF
  SiteList sites = list();
  EXPECT_EQ(saveSiteEntry(sites, entry("Second", "secret"), prompter_), SaveOutcome::Saved);
  EXPECT_EQ(stored(), "First>h>u>>21>/a\r\nSecond>host>anna>RDf4UsJk>21>/www\r\n");
}

TEST_F(SiteListTest, AnIdenticalNewSiteIsRefusedAndTheFileUntouched) {
  store("Same>host>anna>RDf4UsJk>21>/www\r\n");
  SiteList sites = list();
  EXPECT_EQ(saveSiteEntry(sites, entry("Same", "secret"), prompter_), SaveOutcome::Duplicate);
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].caption, "Duplicate entry");
  EXPECT_EQ(prompter_.shown()[0].text, "An identical entry already exist.\r\nOperation aborted.");
  EXPECT_EQ(stored(), "Same>host>anna>RDf4UsJk>21>/www\r\n");
}

TEST_F(SiteListTest, EditingWithoutTouchingThePasswordKeepsTheFieldAndMovesTheSiteToTheEnd) {
  store("Edit>host>anna>RDf4UsJk>21>/www\r\nOther>o>u>>21>/o\r\n");
  SiteList sites = list();
  SiteEntry e = entry("Edited", "RDf4UsJk");
  e.passwordAtShow = "RDf4UsJk";
  e.editedLine = "Edit>host>anna>RDf4UsJk>21>/www";
  EXPECT_EQ(saveSiteEntry(sites, e, prompter_), SaveOutcome::Saved);
  EXPECT_EQ(stored(), "Other>o>u>>21>/o\r\nEdited>host>anna>RDf4UsJk>21>/www\r\n");
  EXPECT_EQ(decipherPassword(list().find("Edited")->passwordField), "secret");
}

TEST_F(SiteListTest, EditingWithANewPasswordEnciphersIt) {
  store("Edit>host>anna>RDf4UsJk>21>/www\r\n");
  SiteList sites = list();
  SiteEntry e = entry("Edit", "ftppass");
  e.passwordAtShow = "RDf4UsJk";
  e.editedLine = "Edit>host>anna>RDf4UsJk>21>/www";
  saveSiteEntry(sites, e, prompter_);
  EXPECT_EQ(stored(), "Edit>host>anna>UUfBXABbmA==>21>/www\r\n");
}

TEST_F(SiteListTest, AnEmptyDirectoryNeedsAYes) {
  SiteList sites = list();
  SiteEntry e = entry("Root");
  e.directory.clear();
  prompter_.expect("You have not specified a directory on the remote server.", Answer::No);
  EXPECT_EQ(saveSiteEntry(sites, e, prompter_), SaveOutcome::KeepOpen);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "ftp.dat"));
  prompter_.expect("Are you sure you want to do this?", Answer::Yes);
  EXPECT_EQ(saveSiteEntry(sites, e, prompter_), SaveOutcome::Saved);
  EXPECT_EQ(list().find("Root")->directory, "");
}

TEST_F(SiteListTest, NegativePortsAreStoredAsZero) {
  SiteList sites = list();
  SiteEntry e = entry("Neg");
  e.port = -5;
  saveSiteEntry(sites, e, prompter_);
  EXPECT_EQ(list().find("Neg")->port, "0");
}

TEST_F(SiteListTest, ASeparatorInAFieldIsRefusedRatherThanShiftingTheLine) {
  SiteList sites = list();
  SiteEntry e = entry("Home > office");
  EXPECT_THROW(saveSiteEntry(sites, e, prompter_), Error);
  e = entry("Home");
  e.user = "a\nb";
  EXPECT_THROW(saveSiteEntry(sites, e, prompter_), Error);
  e = entry("Home");
  e.directory = "/www/a>b";  // the directory is the tail of the line: allowed
  EXPECT_EQ(saveSiteEntry(sites, e, prompter_), SaveOutcome::Saved);
  EXPECT_EQ(list().find("Home")->directory, "/www/a>b");
}

TEST_F(SiteListTest, DeletingRemovesEveryEqualLine) {
  store("Dup>h>u>RDf4UsJk>21>/a\r\nKeep>h>u>>21>/a\r\nDup>h>u>RDf4UsJk>21>/a\r\n");
  SiteList sites = list();
  deleteSite(sites, *sites.find("Dup"));
  EXPECT_EQ(stored(), "Keep>h>u>>21>/a\r\n");
}

}  // namespace
}  // namespace vistrel::ftp
