#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "gallery/imaging_codec.h"
#include "noisy_photo.h"
#include "platform/files.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

bool isBookkeeping(const fs::path& file) {
  const std::string name = file.filename().string();
  return name == ".vistrel-outputs" || name.starts_with(".vistrel-tmp-");
}

struct GalleryUpdateTest : ::testing::Test {
  IsolatedUser user;
  TempFolder folder;

  void photo(const std::string& name, std::uint8_t shade) const {
    gallery::RgbImage image(320, 240);
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) image.at(x, y)[0] = image.at(x, y)[1] = shade;
    }
    folder.write("photos/" + name, gallery::ImagingCodec().encodeJpeg(image, 80));
  }
  std::vector<std::string> gallery(const std::string& target, std::vector<std::string> options = {}) const {
    // Captions without file dates and sizes, which change with a photo's pixels and time.
    std::vector<std::string> args{
        "gallery", "-q", "--set", "ParamString=%Thumb", "--target", (folder / target).string()};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back((folder / "photos").string());
    return args;
  }
  // Every gallery file by its path in the target folder.
  template <typename Value>
  std::map<std::string, Value> files(const std::string& target, const std::function<Value(const fs::path&)>& of) const {
    std::map<std::string, Value> out;
    for (const auto& entry : fs::recursive_directory_iterator(folder / target)) {
      if (entry.is_regular_file() && !isBookkeeping(entry.path())) {
        out[entry.path().lexically_relative(folder / target).string()] = of(entry.path());
      }
    }
    return out;
  }
  std::map<std::string, std::string> contents(const std::string& target) const {
    return files<std::string>(target, [](const fs::path& file) { return platform::readFile(file); });
  }
  // Inode and modification time: what tells a file that was written again.
  std::map<std::string, std::string> stamps(const std::string& target) const {
    return files<std::string>(target, [](const fs::path& file) {
      struct stat st {};
      ::stat(file.c_str(), &st);
      return std::to_string(st.st_ino) + "@" + std::to_string(st.st_mtim.tv_sec) + "." +
             std::to_string(st.st_mtim.tv_nsec);
    });
  }
};

TEST_F(GalleryUpdateTest, AnUpdateWritesOnlyWhatChanged) {
  photo("a.jpg", 40), photo("b.jpg", 120), photo("c.jpg", 200);
  ASSERT_EQ(runVistrel(gallery("web")).status, 0);
  const auto web = [&](const std::string& name) { return folder / "web" / name; };
  const std::vector<std::string> compression{"--set", "JpegCompLevel=60"};
  const struct {
    const char* change;
    std::function<void()> make;
    std::vector<std::string> options;
    std::set<std::string> rewritten;
  } cases[] = {
      {"nothing", [] {}, {}, {}},
      {"a photo's pixels", [&] { photo("a.jpg", 90); }, {}, {"thumb_a.jpg", "medium_a.jpg"}},
      {"a photo's time only",
       [&] { fs::last_write_time(folder / "photos/b.jpg", fs::file_time_type::clock::now()); },
       {},
       {}},
      {"a deleted medium image", [&] { fs::remove(web("medium_b.jpg")); }, {}, {"medium_b.jpg"}},
      {"a thumbnail cut short",
       [&] { fs::resize_file(web("thumb_c.jpg"), fs::file_size(web("thumb_c.jpg")) / 2); },
       {},
       {"thumb_c.jpg"}},
      {"the compression",
       [] {},
       compression,
       {"thumb_a.jpg", "thumb_b.jpg", "thumb_c.jpg", "medium_a.jpg", "medium_b.jpg", "medium_c.jpg"}},
      {"nothing since", [] {}, compression, {}},
  };
  for (const auto& c : cases) {
    const auto before = stamps("web");
    c.make();
    auto options = c.options;
    options.insert(options.begin(), "--update");
    const auto result = runVistrel(gallery("web", options));
    ASSERT_EQ(result.status, 0) << c.change << ": " << result.err;
    std::set<std::string> rewritten;
    for (const auto& [name, stamp] : stamps("web")) {
      if (!before.contains(name) || before.at(name) != stamp) rewritten.insert(name);
    }
    EXPECT_EQ(rewritten, c.rewritten) << c.change;
  }
  ASSERT_EQ(runVistrel(gallery("clean", compression)).status, 0);
  EXPECT_EQ(contents("web"), contents("clean"));
}

TEST_F(GalleryUpdateTest, OnlyPruneRemovesTheFilesOfPhotosThatLeftTheGallery) {
  photo("a.jpg", 40), photo("b.jpg", 120);
  ASSERT_EQ(runVistrel(gallery("web")).status, 0);
  fs::remove(folder / "photos/b.jpg");
  EXPECT_EQ(runVistrel(gallery("web", {"--prune"})).status, 2);
  EXPECT_EQ(runVistrel(gallery("web", {"--update", "--full"})).status, 2);
  ASSERT_EQ(runVistrel(gallery("web", {"--update"})).status, 0);
  EXPECT_TRUE(fs::exists(folder / "web/thumb_b.jpg"));
  ASSERT_EQ(runVistrel(gallery("web", {"--update", "--prune"})).status, 0);
  ASSERT_EQ(runVistrel(gallery("clean")).status, 0);
  EXPECT_EQ(contents("web"), contents("clean"));
}

TEST_F(GalleryUpdateTest, PruneRemovesIndexPagesPastTheLastAndNamesOfAnEarlierPrefix) {
  photo("a.jpg", 40), photo("b.jpg", 120), photo("c.jpg", 200);
  const std::vector<std::string> onePerPage{"--set", "Cols=1", "--set", "Rows=1"};
  ASSERT_EQ(runVistrel(gallery("web", onePerPage)).status, 0);
  ASSERT_TRUE(fs::exists(folder / "web/index3.html"));
  fs::remove(folder / "photos/c.jpg");
  auto changed = onePerPage;
  changed.insert(changed.end(), {"--set", "Image.ThumbPrefix=t_"});
  for (const std::string target : {"web", "clean"}) {
    auto options = changed;
    options.insert(options.end(), {"--update", "--prune"});
    ASSERT_EQ(runVistrel(gallery(target, options)).status, 0);
  }
  EXPECT_EQ(contents("web"), contents("clean"));
}

TEST_F(GalleryUpdateTest, PruneRemovesNothingOutsideTheTargetThatAListFromElsewhereNames) {
  photo("a.jpg", 40);
  ASSERT_EQ(runVistrel(gallery("web")).status, 0);
  const fs::path outside = folder.write("outside/kept.jpg", "mine");
  fs::create_directory_symlink(folder / "outside", folder / "web/link");
  std::ofstream(folder / "web/.vistrel-outputs", std::ios::app) << "../outside/kept.jpg\n" << outside.string() << "\n"
                                                                 << "link/kept.jpg\n";
  ASSERT_EQ(runVistrel(gallery("web", {"--update", "--prune"})).status, 0);
  EXPECT_EQ(platform::readFile(outside), "mine");
}

// Kills the run once the target holds `count` files, or lets it end first.
void killWhenHolding(pid_t child, const fs::path& target, std::size_t count) {
  for (;;) {
    std::error_code ec;
    std::size_t held = 0;
    for (fs::recursive_directory_iterator it(target, ec), end; !ec && it != end; it.increment(ec)) ++held;
    if (held >= count) ::kill(child, SIGKILL);
    int status = 0;
    if (::waitpid(child, &status, held >= count ? 0 : WNOHANG) == child) return;
    std::this_thread::yield();
  }
}

TEST_F(GalleryUpdateTest, ARunKilledAnywhereAndUpdatedEndsAsACleanRun) {
  fs::create_directories(folder / "photos");
  for (int i = 0; i < 10; ++i) writeNoisyPhoto(folder / "photos" / ("p" + std::to_string(i) + ".jpg"), 900, 600);
  ASSERT_EQ(runVistrel(gallery("clean")).status, 0);
  const auto clean = contents("clean");
  // Files in the target when the run is killed; none: the update makes it all.
  for (const std::size_t count : {0u, 1u, 8u, 20u, 31u}) {
    const std::string target = "killed-" + std::to_string(count);
    if (count > 0) killWhenHolding(startVistrel(gallery(target)), folder / target, count);
    const auto result = runVistrel(gallery(target, {"--update"}));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(contents(target), clean) << "killed at " << count << " files";
  }
}

}  // namespace
}  // namespace vistrel::test
