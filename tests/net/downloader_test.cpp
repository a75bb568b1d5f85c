// One attempt of the downloader against a scripted server on 127.0.0.1. The worker is
// never started: its stop flag is cleared by hand, so Download runs on the test thread.
#include <gtest/gtest.h>

#include <future>
#include <string>

#include "event_log.h"
#include "net/worker_pool.h"
#include "support/http_server.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
  return bytes;
}

ts::ScriptedResponse Ok(std::string body) {
  ts::ScriptedResponse response;
  response.body = std::move(body);
  return response;
}

class DownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening());
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder = ts::FreshTempDir(L"download-" + std::wstring(name.begin(), name.end()));
    worker.m_holder.m_stop = 0;
  }
  void TearDown() override { ts::RemoveTree(folder); }

  DownloadTask Task(const std::string& target, const std::wstring& filePath = L"") {
    DownloadTask task;
    task.url = server.Url(target);
    task.filePath = filePath;
    return task;
  }

  // Runs the attempt on another thread; one that has not ended after 15 s is stopped
  // (its next stop check returns -1) so that a hang shows as a failure.
  int DownloadGuarded(DownloadTask& task) {
    auto attempt = std::async(std::launch::async, [&] { return worker.Download(task); });
    if (attempt.wait_for(std::chrono::seconds(15)) != std::future_status::ready) {
      ADD_FAILURE() << "the attempt did not end";
      worker.m_holder.RequestStop();
    }
    return attempt.get();
  }

  ts::HttpServer server;
  CWorkerThread worker{nullptr};
  std::wstring folder;
  EventLog log;
};

}  // namespace

TEST_F(DownloaderTest, GetSendsTheQueryStringUnchangedWithTheAgent) {
  server.Script("/wd/version.ini", Ok("[Version]\r\nLatest=3001\r\n"));
  DownloadTask task = Task("/wd/version.ini?ver=3000&uid=AB-12&r=%41&t=a/b");
  EXPECT_EQ(worker.Download(task), DOWNLOAD_OK);

  const auto requests = server.RequestsTo("/wd/version.ini");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/wd/version.ini?ver=3000&uid=AB-12&r=%41&t=a/b");
  EXPECT_EQ(requests[0].Header("User-Agent"), "HTTPDownloader");
  EXPECT_FALSE(requests[0].HasHeader("Content-Type"));
  EXPECT_EQ(requests[0].body, "");
}

TEST_F(DownloaderTest, PostCarriesItsBodyAndTheFormHeader) {
  server.Script("/stat/install.php", Ok("ok"));
  DownloadTask task = Task("/stat/install.php?g=1012");
  task.body = std::string("mid=ABC&ver=3000&x=\x01\xff", 21);
  EXPECT_EQ(worker.Download(task), DOWNLOAD_OK);

  const auto requests = server.RequestsTo("/stat/install.php");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].target, "/stat/install.php?g=1012");
  EXPECT_EQ(requests[0].body, task.body);
  EXPECT_EQ(requests[0].Header("Content-Type"),
            "application/x-www-form-urlencoded; charset=UTF-8;");
  EXPECT_EQ(requests[0].Header("User-Agent"), "HTTPDownloader");
}

TEST_F(DownloaderTest, StatusDecidesBeforeAnyFileIsMade) {
  struct Case {
    int status;
    int expected;
  } const cases[] = {{200, DOWNLOAD_OK},           {204, DOWNLOAD_OK},
                     {399, DOWNLOAD_OK},           {400, DOWNLOAD_BAD_RESPONSE},
                     {404, DOWNLOAD_BAD_RESPONSE}, {500, DOWNLOAD_BAD_RESPONSE}};
  for (const Case& c : cases) {
    const std::string path = "/status/" + std::to_string(c.status);
    ts::ScriptedResponse response = Ok(c.status == 204 ? "" : "body");
    response.status = c.status;
    server.Script(path, response);
    const std::wstring file = folder + L"s" + std::to_wstring(c.status) + L".bin";
    DownloadTask task = Task(path, file);
    EXPECT_EQ(worker.Download(task), c.expected) << c.status;
    EXPECT_EQ(ts::FileExists(file), c.expected == DOWNLOAD_OK) << c.status;
  }
}

TEST_F(DownloaderTest, FollowsARedirection) {
  ts::ScriptedResponse moved;
  moved.status = 302;
  moved.headers = {{"Location", server.UrlA("/new/app.ini")}};
  server.Script("/old/app.ini", moved);
  server.Script("/new/app.ini", Ok("moved here"));
  DownloadTask task = Task("/old/app.ini", folder + L"app.ini");
  EXPECT_EQ(worker.Download(task), DOWNLOAD_OK);
  EXPECT_EQ(ts::ReadFileBytes(folder + L"app.ini"), "moved here");
  EXPECT_EQ(server.RequestsTo("/new/app.ini").size(), 1u);
}

TEST_F(DownloaderTest, ABodyWithoutLengthIsRefusedOnlyWhenAFileIsWanted) {
  ts::ScriptedResponse unannounced = Ok("the end is when the server closes");
  unannounced.sendContentLength = false;
  server.Script("/nolength", unannounced);

  DownloadTask toFile = Task("/nolength", folder + L"nolength.bin");
  EXPECT_EQ(worker.Download(toFile), DOWNLOAD_BAD_RESPONSE);
  EXPECT_FALSE(ts::FileExists(folder + L"nolength.bin"));

  DownloadTask beacon = Task("/nolength");
  EXPECT_EQ(worker.Download(beacon), DOWNLOAD_OK);
}

TEST_F(DownloaderTest, EmptyBodyGivesAnEmptyFileAndNoProgress) {
  server.Script("/empty", Ok(""));
  const std::wstring file = folder + L"empty.bin";
  ts::WriteFileBytes(file, "old contents are replaced");
  DownloadTask task = Task("/empty", file);
  log.Attach(task);
  EXPECT_EQ(worker.Download(task), DOWNLOAD_OK);
  EXPECT_TRUE(ts::FileExists(file));
  EXPECT_EQ(ts::ReadFileBytes(file), "");
  EXPECT_TRUE(log.Events().empty());
}

TEST_F(DownloaderTest, StreamsTheBodyInBlocksWithProgress) {
  const std::string body = Pattern(25000);
  server.Script("/blocks.bin", Ok(body));
  const std::wstring file = folder + L"blocks.bin";
  DownloadTask task = Task("/blocks.bin", file);
  log.Attach(task, 7);
  EXPECT_EQ(worker.Download(task), DOWNLOAD_OK);
  EXPECT_EQ(ts::ReadFileBytes(file), body);

  std::vector<intptr_t> percents;
  for (const TaskEvent& entry : log.Events()) {
    EXPECT_EQ(entry.event, DOWNLOAD_EVENT_PROGRESS);
    EXPECT_EQ(entry.taskId, 7);
    EXPECT_EQ(entry.result, 0);
    percents.push_back(entry.extra);
  }
  // Full blocks of 10,240 bytes: 10240, 20480 and 25000 of 25000.
  EXPECT_EQ(percents, (std::vector<intptr_t>{40, 81, 100}));
}

TEST_F(DownloaderTest, ProgressStaysWithinBoundsWhenMoreArrivesThanAnnounced) {
  // The server announces 10 bytes less than it sends; whatever WinINet hands over,
  // the percentage never passes 100.
  ts::ScriptedResponse response = Ok(Pattern(30000));
  response.announcedLength = 29990;
  server.Script("/more.bin", response);
  DownloadTask task = Task("/more.bin", folder + L"more.bin");
  log.Attach(task);
  EXPECT_EQ(DownloadGuarded(task), DOWNLOAD_OK);
  ASSERT_FALSE(log.Events().empty());
  for (const TaskEvent& entry : log.Events()) EXPECT_LE(entry.extra, 100);
  EXPECT_EQ(log.Events().back().extra, 100);
}

TEST_F(DownloaderTest, AnEarlyCloseIsAReadFailure) {
  ts::ScriptedResponse cut = Ok(Pattern(40000));
  cut.closeAfterBytes = 15000;
  server.Script("/cut.bin", cut);
  DownloadTask task = Task("/cut.bin", folder + L"cut.bin");
  log.Attach(task);
  EXPECT_EQ(DownloadGuarded(task), DOWNLOAD_READ_FAILED);
  // What arrived is on disk; deciding about it is the worker's business.
  EXPECT_EQ(ts::ReadFileBytes(folder + L"cut.bin"), Pattern(15000));
}

TEST_F(DownloaderTest, AStopEndsTheTransferAtTheNextBlockWithTheFileClosed) {
  ts::ScriptedResponse slow = Ok(Pattern(102400));
  slow.pieceBytes = 10240;
  slow.pieceDelayMs = 100;
  server.Script("/slow.bin", slow);
  const std::wstring file = folder + L"slow.bin";
  DownloadTask task = Task("/slow.bin", file);
  log.Attach(task);
  log.onEvent = [&](const TaskEvent&) { worker.m_holder.RequestStop(); };
  EXPECT_EQ(DownloadGuarded(task), DOWNLOAD_STOPPED);
  EXPECT_EQ(log.Events().size(), 1u);
  // The file was closed: it can be deleted at once.
  EXPECT_TRUE(DeleteFileW(file.c_str())) << GetLastError();
}

TEST_F(DownloaderTest, NamesTheFileAfterTheUrl) {
  server.Script("/a/b/app.ini", Ok("named"));
  for (const std::wstring& given : {folder + L"up", folder + L"up\\"}) {
    CreateDirectoryW((folder + L"up").c_str(), nullptr);
    DownloadTask task = Task("/a/b/app.ini", given);
    task.nameAfterUrl = 1;
    EXPECT_EQ(worker.Download(task), DOWNLOAD_OK);
    EXPECT_EQ(task.filePath, folder + L"up\\app.ini");
    EXPECT_EQ(ts::ReadFileBytes(folder + L"up\\app.ini"), "named");
    ts::RemoveTree(folder + L"up\\");
  }
}

TEST_F(DownloaderTest, GivesTheFileAUniqueName) {
  server.Script("/a/KeltoOvrinUpgrade.exe", Ok("MZ upgrader"));
  for (const std::wstring& given : {folder.substr(0, folder.size() - 1), folder}) {
    DownloadTask task = Task("/a/KeltoOvrinUpgrade.exe", given);
    task.uniqueName = 1;
    EXPECT_EQ(worker.Download(task), DOWNLOAD_OK);
    const std::wstring name = task.filePath.substr(folder.size());
    ASSERT_EQ(name.size(), 36u + 1 + 21) << task.filePath.c_str();
    EXPECT_EQ(task.filePath.substr(0, folder.size()), folder);
    EXPECT_EQ(name.substr(36), L"_KeltoOvrinUpgrade.exe");
    for (size_t dash : {8, 13, 18, 23}) EXPECT_EQ(name[dash], L'-');
    EXPECT_EQ(ts::ReadFileBytes(task.filePath), "MZ upgrader");
  }
}

TEST_F(DownloaderTest, FailuresBeforeTheTransferHaveTheirCodes) {
  server.Script("/f.bin", Ok("x"));
  struct Case {
    std::wstring url;
    std::wstring file;
    int expected;
  } const cases[] = {
      // URLs that cannot be split cannot be connected to.
      {L"", folder + L"f.bin", DOWNLOAD_NO_CONNECTION},
      {L"not a url", folder + L"f.bin", DOWNLOAD_NO_CONNECTION},
      {L"http://" + std::wstring(3000, L'h') + L"/f.bin", folder + L"f.bin",
       DOWNLOAD_NO_CONNECTION},
      // A folder that does not exist.
      {server.Url("/f.bin"), folder + L"missing\\f.bin", DOWNLOAD_CREATE_FAILED},
  };
  for (const Case& c : cases) {
    DownloadTask task;
    task.url = c.url;
    task.filePath = c.file;
    EXPECT_EQ(worker.Download(task), c.expected) << (&c - cases);
  }
  EXPECT_FALSE(ts::FileExists(folder + L"f.bin"));
  EXPECT_EQ(server.RequestsTo("/f.bin").size(), 1u);
}

TEST_F(DownloaderTest, AStopBeforeTheRequestSendsNothing) {
  server.Script("/never", Ok("x"));
  worker.m_holder.RequestStop();
  DownloadTask task = Task("/never", folder + L"never.bin");
  EXPECT_EQ(worker.Download(task), DOWNLOAD_STOPPED);
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_FALSE(ts::FileExists(folder + L"never.bin"));
}
