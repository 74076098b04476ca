// A module of the shared sound server that a test loads for itself (a
// capture source it may take away without disturbing the other test
// programs), unloaded however the test ends.
#pragma once

#include <cstdlib>
#include <string>

#include "command_output.h"

class SoundModule
{
public:
    SoundModule() = default;
    // "pactl load-module" with the arguments (the module's name first).
    explicit SoundModule(const std::string& arguments) { Load(arguments); }
    ~SoundModule() { Unload(); }
    SoundModule(const SoundModule&) = delete;
    SoundModule& operator=(const SoundModule&) = delete;

    bool Load(const std::string& arguments)
    {
        Unload();
        m_nModule = std::atoi(CommandOutput("pactl load-module " + arguments + " 2>/dev/null").c_str());
        return Loaded();
    }
    bool Loaded() const { return m_nModule > 0; }
    void Unload()
    {
        if (m_nModule > 0)
            CommandOutput("pactl unload-module " + std::to_string(m_nModule) + " 2>&1");
        m_nModule = 0;
    }

private:
    int m_nModule = 0;
};

// How many streams record from the named source; 0 when there is none.
inline int SourceStreams(const std::string& source)
{
    return std::atoi(
        CommandOutput("i=$(pactl list sources short | awk '$2==\"" + source +
                      "\"{print $1}'); [ -n \"$i\" ] && pactl list source-outputs short | awk -v "
                      "i=\"$i\" '$2==i' | wc -l")
            .c_str());
}

// A FIFO capture source of the test's own, 16-bit stereo at 44100 Hz: it
// delivers what is written to the FIFO and, with no writer, nothing at all.
// The FIFO goes with it.
class PipeSource
{
public:
    PipeSource(const std::string& name, const std::string& fifo, const std::string& description)
        : m_strFifo(fifo)
    {
        CommandOutput("rm -f '" + m_strFifo + "'");
        m_module.Load(
            "module-pipe-source source_name=" + name + " file='" + m_strFifo +
            "' format=s16le rate=44100 channels=2 source_properties=device.description=" + description);
    }
    ~PipeSource()
    {
        m_module.Unload();
        CommandOutput("rm -f '" + m_strFifo + "'");
    }
    PipeSource(const PipeSource&) = delete;
    PipeSource& operator=(const PipeSource&) = delete;

    bool Loaded() const { return m_module.Loaded(); }
    const std::string& Fifo() const { return m_strFifo; }

private:
    std::string m_strFifo;
    SoundModule m_module;
};
