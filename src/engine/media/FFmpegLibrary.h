// FFmpeg's libraries, opened on the engine's first use of them rather than
// bound when the engine loads: their dependencies are a third of a cold
// start, and the window needs none of them.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

#include <string>

// Every FFmpeg function the engine calls. A call of one not listed leaves an
// undefined symbol in the engine, which then fails to load.
#define ENGINE_FFMPEG_FUNCTIONS(X)   \
  X(av_audio_fifo_alloc)             \
  X(av_audio_fifo_free)              \
  X(av_audio_fifo_read)              \
  X(av_audio_fifo_size)              \
  X(av_audio_fifo_write)             \
  X(av_channel_layout_copy)          \
  X(av_channel_layout_default)       \
  X(av_channel_layout_uninit)        \
  X(av_dict_free)                    \
  X(av_dict_get)                     \
  X(av_dict_set)                     \
  X(av_find_best_stream)             \
  X(av_frame_alloc)                  \
  X(av_frame_free)                   \
  X(av_frame_get_buffer)             \
  X(av_frame_unref)                  \
  X(av_free)                         \
  X(av_get_bits_per_sample)          \
  X(av_log_get_level)                \
  X(av_log_set_level)                \
  X(av_new_packet)                   \
  X(av_packet_alloc)                 \
  X(av_packet_free)                  \
  X(av_packet_rescale_ts)            \
  X(av_packet_unref)                 \
  X(av_read_frame)                   \
  X(av_reduce)                       \
  X(av_samples_alloc)                \
  X(av_seek_frame)                   \
  X(av_strerror)                     \
  X(av_write_frame)                  \
  X(av_write_trailer)                \
  X(avcodec_alloc_context3)          \
  X(avcodec_descriptor_get)          \
  X(avcodec_find_encoder_by_name)    \
  X(avcodec_flush_buffers)           \
  X(avcodec_free_context)            \
  X(avcodec_get_name)                \
  X(avcodec_open2)                   \
  X(avcodec_parameters_from_context) \
  X(avcodec_parameters_to_context)   \
  X(avcodec_receive_frame)           \
  X(avcodec_receive_packet)          \
  X(avcodec_send_frame)              \
  X(avcodec_send_packet)             \
  X(avformat_alloc_output_context2)  \
  X(avformat_close_input)            \
  X(avformat_find_stream_info)       \
  X(avformat_free_context)           \
  X(avformat_new_stream)             \
  X(avformat_open_input)             \
  X(avformat_query_codec)            \
  X(avformat_seek_file)              \
  X(avformat_write_header)           \
  X(avio_close_dyn_buf)              \
  X(avio_closep)                     \
  X(avio_flush)                      \
  X(avio_open)                       \
  X(avio_open_dyn_buf)               \
  X(avio_seek)                       \
  X(avio_size)                       \
  X(swr_alloc_set_opts2)             \
  X(swr_convert)                     \
  X(swr_free)                        \
  X(swr_get_out_samples)             \
  X(swr_init)

namespace engine::media {

struct FFmpegFunctions {
#define ENGINE_FFMPEG_POINTER(name) decltype(&::name) name = nullptr;
  ENGINE_FFMPEG_FUNCTIONS(ENGINE_FFMPEG_POINTER)
#undef ENGINE_FFMPEG_POINTER
};

// Opens the libraries on the first call in the process (thread-safe); every
// later call gives the same answer. False, with `error` naming what is
// missing, when they cannot be opened.
bool LoadFFmpeg(std::string* error);

// The functions, for code past a successful LoadFFmpeg; all null otherwise.
const FFmpegFunctions& Av();

}  // namespace engine::media
