#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent>

#include <utility>

// Runs `work` (file I/O, say, touching no shared state) on the thread pool and hands its result
// to `done` on `context`'s thread, unless `context` is gone by then.
namespace OffThread {

template <typename Work, typename Done> void run(QObject *context, Work work, Done done)
{
    using Result = std::invoke_result_t<Work>;
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, done = std::move(done)]() mutable {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

} // namespace OffThread
