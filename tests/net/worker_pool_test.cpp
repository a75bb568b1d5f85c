// The pool with its real threads, against a scripted server on 127.0.0.1.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "event_log.h"
#include "net/worker_pool.h"
#include "support/http_server.h"
#include "support/test_support.h"

namespace ts = testing_support;

namespace {

ts::ScriptedResponse Respond(int status, std::string body) {
  ts::ScriptedResponse response;
  response.status = status;
  response.body = std::move(body);
  return response;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

class WorkerPoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening());
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder = ts::FreshTempDir(L"pool-" + std::wstring(name.begin(), name.end()));
  }
  void TearDown() override {
    pool.reset();
    ts::RemoveTree(folder);
  }

  DownloadTask Task(const std::string& target, const std::wstring& filePath, int taskId = 0) {
    DownloadTask task;
    task.url = server.Url(target);
    task.filePath = filePath;
    log.Attach(task, taskId);
    return task;
  }

  ts::HttpServer server;
  EventLog log;
  std::unique_ptr<CWorkerPool> pool = std::make_unique<CWorkerPool>();
  std::wstring folder;
};

}  // namespace

TEST_F(WorkerPoolTest, ATaskReportsStartProgressAndItsResult) {
  server.Script("/a/b/app.ini", Respond(200, std::string(3000, 'v')));
  ASSERT_TRUE(pool->Start());
  EXPECT_TRUE(pool->IsStarted());
  DownloadTask task = Task("/a/b/app.ini", folder.substr(0, folder.size() - 1), 4);
  task.nameAfterUrl = 1;
  ASSERT_TRUE(pool->Enqueue(task));
  ASSERT_TRUE(log.WaitFor(DOWNLOAD_EVENT_FINISHED, 1, 10000));

  const auto events = log.Events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front().event, DOWNLOAD_EVENT_STARTED);
  EXPECT_EQ(events.front().result, 0);
  EXPECT_EQ(events.front().extra, 0);
  for (size_t i = 1; i + 1 < events.size(); ++i)
    EXPECT_EQ(events[i].event, DOWNLOAD_EVENT_PROGRESS);
  EXPECT_EQ(events.back().event, DOWNLOAD_EVENT_FINISHED);
  EXPECT_EQ(events.back().result, DOWNLOAD_OK);
  EXPECT_EQ(events.back().taskId, 4);
  // Event 3 hands over the pool's copy, with the final path the downloader derived.
  EXPECT_NE(events.back().extra, reinterpret_cast<intptr_t>(&task));
  EXPECT_EQ(events.back().filePath, folder + L"app.ini");
  EXPECT_EQ(task.filePath, folder.substr(0, folder.size() - 1));
  EXPECT_EQ(ts::ReadFileBytes(folder + L"app.ini"), std::string(3000, 'v'));
  EXPECT_EQ(server.RequestsTo("/a/b/app.ini").size(), 1u);
}

TEST_F(WorkerPoolTest, RetriesAFailingServerWithAPauseAndDeletesTheFile) {
  server.Script("/down.ini", Respond(500, "busy"));
  const std::wstring file = folder + L"down.ini";
  ts::WriteFileBytes(file, "left from an earlier run");
  DownloadTask task = Task("/down.ini", file);
  task.retries = 2;
  ASSERT_TRUE(pool->Start());
  ASSERT_TRUE(pool->Enqueue(task));
  ASSERT_TRUE(log.WaitFor(DOWNLOAD_EVENT_FINISHED, 1, 15000));

  const auto attempts = server.RequestsTo("/down.ini");
  ASSERT_EQ(attempts.size(), 3u);
  for (size_t i = 1; i < attempts.size(); ++i) {
    const ULONGLONG gap = attempts[i].receivedAt - attempts[i - 1].receivedAt;
    EXPECT_GE(gap, 950u);
    EXPECT_LT(gap, 5000u);
  }
  const auto finished = log.Of(DOWNLOAD_EVENT_FINISHED);
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(finished[0].result, DOWNLOAD_BAD_RESPONSE);
  EXPECT_EQ(log.Of(DOWNLOAD_EVENT_STARTED).size(), 1u);
  EXPECT_TRUE(ts::PumpUntil([&] { return !ts::FileExists(file); }, 5000));
}

TEST_F(WorkerPoolTest, FailedTasksKeepTheirFileWithoutDeleteOnFailure) {
  // Also: an address that cannot be split is a failure (-2), not a success.
  const std::wstring kept = folder + L"kept.bin";
  const std::wstring removed = folder + L"removed.bin";
  ts::WriteFileBytes(kept, "keep");
  ts::WriteFileBytes(removed, "remove");
  DownloadTask keep = Task("/x", kept, 1);
  keep.url = L"not a url";
  keep.deleteOnFailure = 0;
  DownloadTask remove = Task("/x", removed, 2);
  remove.url = L"not a url";
  ASSERT_TRUE(pool->Start());
  ASSERT_TRUE(pool->Enqueue(keep));
  ASSERT_TRUE(pool->Enqueue(remove));
  ASSERT_TRUE(log.WaitFor(DOWNLOAD_EVENT_FINISHED, 2, 10000));
  pool->StopAll();  // every deletion is done once the workers have ended

  for (const TaskEvent& entry : log.Of(DOWNLOAD_EVENT_FINISHED))
    EXPECT_EQ(entry.result, DOWNLOAD_NO_CONNECTION) << entry.taskId;
  EXPECT_EQ(ts::ReadFileBytes(kept), "keep");
  EXPECT_FALSE(ts::FileExists(removed));
}

TEST_F(WorkerPoolTest, RetriesWriteToTheSameDerivedFile) {
  // The first attempt breaks off mid-body after its file was named; the second succeeds.
  const std::string body(30000, 'u');
  ts::ScriptedResponse cut = Respond(200, body);
  cut.closeAfterBytes = 12000;
  server.Script("/dl/KeltoOvrinUpgrade.exe", {cut, Respond(200, body)});
  DownloadTask task = Task("/dl/KeltoOvrinUpgrade.exe", folder);
  task.uniqueName = 1;
  task.retries = 1;
  ASSERT_TRUE(pool->Start());
  ASSERT_TRUE(pool->Enqueue(task));
  ASSERT_TRUE(log.WaitFor(DOWNLOAD_EVENT_FINISHED, 1, 15000));
  pool->StopAll();

  const auto finished = log.Of(DOWNLOAD_EVENT_FINISHED);
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(finished[0].result, DOWNLOAD_OK);
  EXPECT_EQ(server.RequestsTo("/dl/KeltoOvrinUpgrade.exe").size(), 2u);
  const auto files = FilesIn(folder);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(folder + files[0], finished[0].filePath);
  EXPECT_EQ(ts::ReadFileBytes(finished[0].filePath), body);
}

TEST_F(WorkerPoolTest, ATaskQueuedBeforeStartRunsAfterIt) {
  server.Script("/early", Respond(200, "early"));
  DownloadTask task = Task("/early", folder + L"early.bin");
  task.body = "a=1";
  ASSERT_TRUE(pool->Enqueue(task));
  // The pool holds its own copy: what the caller does with its task no longer matters.
  task.url = server.Url("/changed");
  task.body = "changed";
  Sleep(300);
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(log.Events().empty());
  EXPECT_EQ(pool->QueuedCount(), 1u);

  ASSERT_TRUE(pool->Start());
  ASSERT_TRUE(log.WaitFor(DOWNLOAD_EVENT_FINISHED, 1, 10000));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/early");
  EXPECT_EQ(requests[0].body, "a=1");
  EXPECT_EQ(ts::ReadFileBytes(folder + L"early.bin"), "early");
}

TEST_F(WorkerPoolTest, StopAllDuringASlowBodyDeletesThePartialFileWithoutEvent3) {
  ts::ScriptedResponse slow = Respond(200, std::string(200000, 's'));
  slow.pieceBytes = 10240;
  slow.pieceDelayMs = 200;
  server.Script("/slow.bin", slow);
  const std::wstring file = folder + L"slow.bin";
  ASSERT_TRUE(pool->Start());
  ASSERT_TRUE(pool->Enqueue(Task("/slow.bin", file)));
  ASSERT_TRUE(log.WaitFor(DOWNLOAD_EVENT_PROGRESS, 1, 10000));
  EXPECT_TRUE(ts::FileExists(file));

  pool->StopAll();
  EXPECT_FALSE(pool->IsStarted());
  EXPECT_TRUE(log.Of(DOWNLOAD_EVENT_FINISHED).empty());
  EXPECT_FALSE(ts::FileExists(file));
  EXPECT_LT(log.Of(DOWNLOAD_EVENT_PROGRESS).size(), 20u);
}

TEST_F(WorkerPoolTest, StopAllTwiceOrWithoutStartDoesNothing) {
  pool->StopAll();
  pool->StopAll();
  EXPECT_FALSE(pool->IsStarted());

  // A stopped pool starts again for the next task.
  server.Script("/again", Respond(200, "again"));
  ASSERT_TRUE(pool->Start());
  pool->StopAll();
  pool->StopAll();
  EXPECT_FALSE(pool->IsStarted());
  ASSERT_TRUE(pool->Start());
  ASSERT_TRUE(pool->Enqueue(Task("/again", L"")));
  ASSERT_TRUE(log.WaitFor(DOWNLOAD_EVENT_FINISHED, 1, 10000));
  EXPECT_EQ(log.Of(DOWNLOAD_EVENT_FINISHED)[0].result, DOWNLOAD_OK);
}

TEST_F(WorkerPoolTest, DestroyingThePoolDropsQueuedTasksWithoutCallbacks) {
  server.Script("/dropped", Respond(200, "x"));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(pool->Enqueue(Task("/dropped", folder + L"d.bin", i)));
  pool.reset();
  EXPECT_TRUE(log.Events().empty());
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(WorkerPoolTest, EveryQueuedTaskRunsOnTheTwoWorkers) {
  ts::ScriptedResponse slow = Respond(200, "done");
  slow.headerDelayMs = 300;
  server.Script("/t", slow);
  ASSERT_TRUE(pool->Start());
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(pool->Enqueue(Task("/t?n=" + std::to_string(i), L"", i)));
  ASSERT_TRUE(log.WaitFor(DOWNLOAD_EVENT_FINISHED, 6, 20000));
  // Two at a time, in queue order: the first two requests are tasks 0 and 1.
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 6u);
  std::vector<std::string> firstTwo = {requests[0].target, requests[1].target};
  std::sort(firstTwo.begin(), firstTwo.end());
  EXPECT_EQ(firstTwo, (std::vector<std::string>{"/t?n=0", "/t?n=1"}));
  EXPECT_GT(requests[2].receivedAt, requests[0].receivedAt + 250);
  for (const TaskEvent& entry : log.Of(DOWNLOAD_EVENT_FINISHED))
    EXPECT_EQ(entry.result, DOWNLOAD_OK);
}
