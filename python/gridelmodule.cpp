// gridelmodule.cpp - the Python module's compiled part, gridel._gridel:
// gridel::draw with the interpreter let go while it draws, and its result
// as a Python value.  The package (python/gridel/__init__.py) builds the
// user's calls on it.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "gridel/gridel.h"

namespace py = pybind11;

namespace {

// A drawing as Python sees it: the bytes as bytes, the texts as str.
py::dict drawingvalue(const gridel::Drawing& drawing) {
    py::dict outputs;
    py::dict names;
    for (const gridel::Output& o : drawing.outputs) {
        outputs[py::str(o.format)] = py::bytes(o.bytes);
        names[py::str(o.format)] = py::str(o.name);
    }
    py::list diagnostics;
    for (const gridel::Diagnostic& d : drawing.diagnostics) {
        py::dict one;
        one["path"] = d.path;
        one["line"] = d.line;
        one["column"] = d.column;
        one["severity"] = d.severity;
        one["message"] = d.message;
        one["notes"] = d.notes;
        one["headline"] = d.headline();
        diagnostics.append(one);
    }
    py::dict value;
    value["status"] = drawing.status;
    value["outputs"] = outputs;
    value["names"] = names;
    value["logname"] = drawing.logname;
    // A transcript holds the file's own bytes: what is not UTF-8 is shown
    // as the program would leave it, replaced rather than refused.
    auto text = [](const std::string& s) { return py::reinterpret_steal<py::str>(PyUnicode_DecodeUTF8(s.data(), static_cast<Py_ssize_t>(s.size()), "replace")); };
    value["log"] = text(drawing.log);
    value["screen"] = text(drawing.screen);
    value["errors"] = text(drawing.errors);
    value["diagnostics"] = diagnostics;
    return value;
}

}  // namespace

PYBIND11_MODULE(_gridel, m) {
    m.doc() = "gridel's drawing in memory; see the gridel package";
    m.def(
        "draw",
        [](const py::bytes& text, const std::string& name, const py::bytes& preferences,
           const std::vector<std::string>& formats, const std::vector<std::string>& style, int dpi, bool crop) {
            gridel::DrawOptions options;
            options.name = name;
            options.preferences = preferences;
            options.formats = formats;
            options.style = style;
            options.dpi = dpi;
            options.crop = crop;
            std::string data = text;
            gridel::Drawing drawing;
            {
                py::gil_scoped_release free;
                drawing = gridel::draw(data, options);
            }
            return drawingvalue(drawing);
        },
        py::arg("text"), py::arg("name"), py::arg("preferences"), py::arg("formats"), py::arg("style"),
        py::arg("dpi"), py::arg("crop"),
        "Draw the data file `text` named `name`; a dict of the run's outputs, transcript and diagnostics.");
    m.def("formats", &gridel::formats, "The drawing formats, in the program's order.");
    m.def("version", &gridel::version, "The program's banner.");
}
