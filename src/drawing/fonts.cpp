// fonts.cpp - TextSetter and textwidth, with Pango.
#include "drawing/fonts.h"

#include <dirent.h>
#include <pango/pangocairo.h>
#include <sys/resource.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "run/failure.h"
#include "text/utf8.h"

namespace gridel::drawing {

namespace {

// PostScript's show places each glyph by its advance alone.
constexpr const char* plainfeatures = "kern 0, liga 0, clig 0";

// The files fontconfig and FreeType may hold open at once while they read
// their configuration and caches and open a face.  With fewer free,
// fontconfig does not fail: it leaves out what it could not open and
// gives another face, so too few is an error of its own.
constexpr long fontdescriptors = 4;

// How many more files the process may open: the numbers under its limit
// that are free; -1 when it cannot tell.
long freedescriptors() {
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return -1;
    long below = static_cast<long>(limit.rlim_cur);
    DIR* fds = ::opendir("/proc/self/fd");
    if (fds == nullptr) return errno == EMFILE ? 0 : -1;
    long open = 0;
    int own = ::dirfd(fds);
    while (dirent* entry = ::readdir(fds)) {
        if (entry->d_name[0] == '.') continue;
        long fd = std::strtol(entry->d_name, nullptr, 10);
        if (fd < below && fd != own) ++open;
    }
    ::closedir(fds);
    return below - open;
}

// End the run when fewer than fontdescriptors more files may be open: the
// fonts would not be the ones asked for.  Checked until the fonts are
// found once; the process keeps them.
void needdescriptors() {
    static std::atomic<bool> found = false;  // the fonts are the process's, found once
    if (found.load()) return;
    long free = freedescriptors();
    if (free >= 0 && free < fontdescriptors) {
        struct rlimit limit;
        ::getrlimit(RLIMIT_NOFILE, &limit);
        std::string reason = "too few files may be open at once (" + std::to_string(free) + " more of " +
                             std::to_string(limit.rlim_cur) + "; ulimit -n)";
        std::fflush(stdout);
        std::fprintf(stderr, "gridel: the fonts cannot be loaded: %s\n", reason.c_str());
        throw run::ioerrorend("the fonts", reason.c_str());
    }
    found.store(true);
}

}  // namespace

struct TextSetter::Pango {
    PangoContext* context;
    PangoLayout* layout;  // as PostScript sets texts
    PangoFontDescription* font;
};

namespace {

PangoLayout* newlayout(PangoContext* context) {
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_layout_set_auto_dir(layout, FALSE);
    return layout;
}

void setlayout(PangoLayout* layout, const PangoFontDescription* font, const std::string& utf8) {
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
}

}  // namespace

TextSetter::TextSetter() : pango((needdescriptors(), new Pango)) {
    pango->context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    // One user unit is one point: sizes are given in points, at 72 to the inch.
    pango_cairo_context_set_resolution(pango->context, 72);
    // Glyphs where the outlines put them and advances as the face gives
    // them: grid fitting or rounding would move labels off their centres.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(pango->context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(pango->context, FALSE);
    pango_context_set_base_dir(pango->context, PANGO_DIRECTION_LTR);

    pango->layout = newlayout(pango->context);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_features_new(plainfeatures));
    pango_layout_set_attributes(pango->layout, attributes);
    pango_attr_list_unref(attributes);

    pango->font = pango_font_description_new();
    pango_font_description_set_family_static(pango->font, textfamily);
}

TextSetter::~TextSetter() {
    pango_font_description_free(pango->font);
    g_object_unref(pango->layout);
    g_object_unref(pango->context);
    delete pango;
}

void TextSetter::style(const TextStyle& style) {
    pango_font_description_set_absolute_size(pango->font, static_cast<double>(style.size) * PANGO_SCALE);
    pango_font_description_set_weight(pango->font, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(pango->font, style.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
}

void SetWidths::add(const std::string& utf8, const TextStyle& style, long double width) {
    widths.emplace(Key{style.size, style.bold, style.italic, utf8}, width);
}

bool SetWidths::find(const std::string& utf8, const TextStyle& style, long double& width) const {
    auto found = widths.find(Key{style.size, style.bold, style.italic, utf8});
    if (found == widths.end()) return false;
    width = found->second;
    return true;
}

long double TextSetter::set(const std::string& utf8, const TextStyle& style) {
    this->style(style);
    setlayout(pango->layout, pango->font, utf8);
    PangoRectangle logical;
    pango_layout_line_get_extents(pango_layout_get_line_readonly(pango->layout, 0), nullptr, &logical);
    return static_cast<long double>(logical.width) / PANGO_SCALE;
}

void TextSetter::show(cairo_t* cr, long double x, long double y, long double angle, bool aspath) const {
    cairo_save(cr);
    cairo_translate(cr, static_cast<double>(x), static_cast<double>(y));
    if (angle != 0) cairo_rotate(cr, static_cast<double>(angle) * G_PI / 180);
    cairo_scale(cr, 1, -1);  // Pango sets text with y downwards
    cairo_move_to(cr, 0, 0);
    PangoLayoutLine* line = pango_layout_get_line_readonly(pango->layout, 0);
    if (aspath)
        pango_cairo_layout_line_path(cr, line);
    else
        pango_cairo_show_layout_line(cr, line);
    cairo_restore(cr);  // the path stays: it is not part of the saved state
}

std::vector<OutlineStep> TextSetter::outline() const {
    std::vector<OutlineStep> steps;
    cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
    cairo_t* cr = cairo_create(surface);
    // The outlines as designed: a surface of pixels would fit them to its
    // grid.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    show(cr, 0, 0, 0, true);
    cairo_path_t* path = cairo_copy_path(cr);
    if (path->status == CAIRO_STATUS_SUCCESS) {
        for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
            const cairo_path_data_t* d = &path->data[i];
            OutlineStep step{OutlineStep::close, {0, 0, 0}, {0, 0, 0}};
            int points = 0;
            switch (d->header.type) {
                case CAIRO_PATH_MOVE_TO: step.kind = OutlineStep::move, points = 1; break;
                case CAIRO_PATH_LINE_TO: step.kind = OutlineStep::line, points = 1; break;
                case CAIRO_PATH_CURVE_TO: step.kind = OutlineStep::curve, points = 3; break;
                case CAIRO_PATH_CLOSE_PATH: break;
            }
            for (int k = 0; k < points; ++k) {
                step.x[k] = d[k + 1].point.x;
                step.y[k] = d[k + 1].point.y;
            }
            if (points == 1) {
                step.x[2] = step.x[0];
                step.y[2] = step.y[0];
            }
            steps.push_back(step);
        }
    }
    cairo_path_destroy(path);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return steps;
}

int TextSetter::missing() const { return pango_layout_get_unknown_glyphs_count(pango->layout); }

long double textwidth(text::TextView text, const TextStyle& style) {
    if (text.len <= 0 || !(style.size > 0)) return 0;
    TextSetter setter;
    return setter.set(text::drawabletext(text.c, text.len), style);
}

}  // namespace gridel::drawing
