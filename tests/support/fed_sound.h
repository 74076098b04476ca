// A capture device whose sound the test hands over itself, byte for byte:
// a FIFO source that gets a 660-Hz tone in whole blocks of the recording
// job's half second, each only when the test asks for it. Between blocks a
// single frame goes every 100 ms, so that the capture never counts the
// device as lost (5 s without sound) while the test waits for something
// else, and the job still completes no block it was not given. A recording
// then holds exactly the blocks the job read, however late the machine let
// it read them.
#pragma once

#include <windows.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "sound_module.h"
#include "win_thread.h"

class FedSound
{
public:
    // The job's block: half a second of 16-bit stereo at 44100 Hz.
    static const size_t kBlockBytes = 22050 * 4;

    FedSound(const std::string& name, const std::string& description)
        : m_strName(name), m_source(name, "/tmp/" + name + ".fifo", description)
    {
        if (!m_source.Loaded())
            return;
        // The source holds its end open for reading, so this open returns
        // at once; a full FIFO refuses a write instead of blocking it.
        m_fd = ::open(m_source.Fifo().c_str(), O_WRONLY | O_NONBLOCK);
        if (m_fd >= 0)
            m_writer = WinThread([this] { Write(); });
    }
    ~FedSound()
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_bEnd = true;
        }
        m_changed.notify_all();
        m_writer.join();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FedSound(const FedSound&) = delete;
    FedSound& operator=(const FedSound&) = delete;

    bool Running() const { return m_fd >= 0; }
    // The streams recording from it.
    int Streams() const { return SourceStreams(m_strName); }
    // The source reads its FIFO whether or not anything records, and what
    // it reads with no stream there is gone: the trickle starts, and blocks
    // go, only once the recording's stream is there.
    void StartTrickle()
    {
        Change([this] {
            m_bTrickle = true;
            m_lastFeed = Clock::now();
        });
    }
    // Hands the next block over: the rest of the block the trickle began.
    void FeedBlock()
    {
        Change([this] {
            ++m_nBlocks;
            m_lastFeed = Clock::now();
        });
    }
    // From now on the device delivers nothing: the capture counts it lost.
    void Silence()
    {
        Change([this] { m_bTrickle = false; });
    }
    // From now on the tone goes at the wall clock's pace, blocks or not.
    void RunAtRealTime()
    {
        Change([this] {
            m_bRealTime = true;
            m_realTimeStart = Clock::now();
            m_nRealTimeFrom = m_nWritten;
        });
    }
    // Every byte written from now on holds the tone at a quarter of its
    // loudness.
    void Soften()
    {
        Change([this] { m_nAmplitude = kLoudness / 4; });
    }

private:
    using Clock = std::chrono::steady_clock;
    // The trickle ends this long after the last block, a guard against a
    // test hanging on a job that never gets a block: the device then counts
    // as lost.
    static constexpr std::chrono::seconds kTrickleLimit{60};

    template <class TChange>
    void Change(TChange change)
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            change();
        }
        m_changed.notify_all();
    }

    // The tone from the byte on, for a whole number of frames.
    static std::vector<char> Tone(size_t nFrom, size_t nBytes, int nAmplitude)
    {
        std::vector<char> bytes(nBytes);
        for (size_t i = 0; i < nBytes; i += 4)
        {
            const double dFrame = static_cast<double>((nFrom + i) / 4);
            const short nSample = static_cast<short>(nAmplitude * std::sin(2 * M_PI * 660 * dFrame / 44100));
            for (size_t c = 0; c < 4; c += 2)
            {
                bytes[i + c] = static_cast<char>(nSample & 0xFF);
                bytes[i + c + 1] = static_cast<char>((nSample >> 8) & 0xFF);
            }
        }
        return bytes;
    }

    // The bytes due by the wall clock since the pace began, whole frames.
    size_t RealTimeTarget(Clock::time_point now) const
    {
        const auto nMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_realTimeStart).count();
        return m_nRealTimeFrom + 4 * static_cast<size_t>(nMs * 441 / 10);
    }

    // Writes no more than a pipe takes whole (4096 bytes go at once or not
    // at all), so the count stays on whole frames.
    void Write()
    {
        std::unique_lock<std::mutex> lock(m_lock);
        Clock::time_point lastTrickle = Clock::now();
        while (!m_bEnd)
        {
            const Clock::time_point now = Clock::now();
            const size_t nTarget = m_bRealTime ? RealTimeTarget(now) : m_nBlocks * kBlockBytes;
            size_t nChunk = 0;
            if (m_nWritten < nTarget)
                nChunk = std::min<size_t>(4096, nTarget - m_nWritten);
            else if (m_bTrickle && now - lastTrickle >= std::chrono::milliseconds(100) &&
                     now - m_lastFeed < kTrickleLimit && m_nWritten + 4 < nTarget + kBlockBytes)
                nChunk = 4;
            if (nChunk > 0)
            {
                const std::vector<char> bytes = Tone(m_nWritten, nChunk, m_nAmplitude);
                if (::write(m_fd, bytes.data(), nChunk) == static_cast<ssize_t>(nChunk))
                {
                    m_nWritten += nChunk;
                    if (nChunk == 4)
                        lastTrickle = now;
                    continue;
                }
            }
            m_changed.wait_for(lock, std::chrono::milliseconds(m_bRealTime || nChunk > 4 ? 5 : 20));
        }
    }

    std::string m_strName;
    PipeSource m_source;
    int m_fd = -1;
    std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_nBlocks = 0;     // blocks asked for
    size_t m_nWritten = 0;    // bytes in the FIFO so far
    bool m_bTrickle = false;  // a frame every 100 ms between blocks
    bool m_bEnd = false;      // the writer ends
    Clock::time_point m_lastFeed = Clock::now();
    static const int kLoudness = 16000;
    int m_nAmplitude = kLoudness;
    bool m_bRealTime = false;
    Clock::time_point m_realTimeStart;
    size_t m_nRealTimeFrom = 0;  // bytes written before the pace began
    WinThread m_writer;
};
