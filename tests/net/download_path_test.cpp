#include <gtest/gtest.h>

#include "net/download_path.h"

namespace {

const wchar_t kGuid[] = L"0A1B2C3D-0000-1111-2222-333344445555";

struct PathCase {
  const wchar_t* filePath;
  const wchar_t* url;
  bool nameAfterUrl;
  bool uniqueName;
  const wchar_t* expected;
};

}  // namespace

TEST(DownloadPath, DerivesTheTargetFile) {
  const PathCase cases[] = {
      // Neither flag: the caller's path as it is.
      {L"C:\\t\\v.ini", L"http://h/a/b/app.ini", false, false, L"C:\\t\\v.ini"},
      // Named after the URL, with or without the folder's trailing backslash.
      {L"C:\\up", L"http://h/a/b/app.ini", true, false, L"C:\\up\\app.ini"},
      {L"C:\\up\\", L"http://h/a/b/app.ini", true, false, L"C:\\up\\app.ini"},
      // The query string belongs to the last segment.
      {L"C:\\up", L"http://h/a/app.ini?v=3000", true, false, L"C:\\up\\app.ini?v=3000"},
      // A "/" inside the query string is the last one.
      {L"C:\\up", L"http://h/a/s.php?r=x/y", true, false, L"C:\\up\\y"},
      // Name after URL wins over unique name.
      {L"C:\\up", L"http://h/a/app.ini", true, true, L"C:\\up\\app.ini"},
      {L"C:\\up", L"http://h/a/Setup.exe", false, true,
       L"C:\\up\\0A1B2C3D-0000-1111-2222-333344445555_Setup.exe"},
      {L"C:\\up\\", L"http://h/a/Setup.exe", false, true,
       L"C:\\up\\0A1B2C3D-0000-1111-2222-333344445555_Setup.exe"},
      // A URL ending in "/" or without any "/" has an empty last segment.
      {L"C:\\up", L"http://h/a/", true, false, L"C:\\up\\"},
      {L"C:\\up", L"nothing", false, true, L"C:\\up\\0A1B2C3D-0000-1111-2222-333344445555_"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(DeriveDownloadPath(c.filePath, c.url, c.nameAfterUrl, c.uniqueName, kGuid),
              c.expected)
        << "case " << (&c - cases);
  }
}

TEST(DownloadPath, LastSegmentOfUrl) {
  EXPECT_EQ(UrlLastSegment(L"http://h/a/b/app.ini"), L"app.ini");
  EXPECT_EQ(UrlLastSegment(L"http://h/q?x=1"), L"q?x=1");
  EXPECT_EQ(UrlLastSegment(L"http://h/"), L"");
  EXPECT_EQ(UrlLastSegment(L"no-slash"), L"");
  EXPECT_EQ(UrlLastSegment(L""), L"");
}
