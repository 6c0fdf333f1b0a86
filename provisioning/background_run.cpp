#include "provisioning/background_run.h"

namespace kestrelink::provisioning {

BackgroundRun::BackgroundRun(std::vector<ProvisioningStep> steps,
                             std::vector<std::vector<std::size_t>> waitsFor, RunSettings settings,
                             DeviceLink& link, std::function<void()> notify)
    : m_steps(std::move(steps)),
      m_settings(std::move(settings)),
      m_notify(std::move(notify)),
      m_run(m_steps, std::move(waitsFor), m_settings, link, *this) {
    m_thread = std::thread([this] {
        m_run.Run();
        Post([](RunNews& news) { news.over = true; });
    });
}

BackgroundRun::~BackgroundRun() {
    m_run.Stop();
    m_thread.join();
}

void BackgroundRun::Stop() {
    m_run.Stop();
}

RunNews BackgroundRun::TakeNews() {
    std::lock_guard lock(m_mutex);
    m_waiting = false;
    RunNews news = std::move(m_news);
    m_news.finished.clear();
    m_news.counts = news.counts;
    m_news.over = news.over;
    return news;
}

void BackgroundRun::Finished(std::size_t step, const StepResult& result) {
    Post([&](RunNews& news) { news.finished.emplace_back(step, result); });
}

void BackgroundRun::Progress(const ProgressCounts& counts) {
    Post([&](RunNews& news) { news.counts = counts; });
}

void BackgroundRun::Post(const std::function<void(RunNews&)>& change) {
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        change(m_news);
        wake = !std::exchange(m_waiting, true);
    }
    if (wake && m_notify) {
        m_notify();
    }
}

}  // namespace kestrelink::provisioning
