"""Draw petrological phase diagrams from their text description.

    >>> import gridel
    >>> figure = gridel.draw("gl-basic.txt", formats=("svg", "png"))
    >>> figure.svg[:5]
    b'<?xml'

A figure shows itself in a notebook cell.  A file that is wrong raises
DiagramError, which names the file, line and column as the program does.
The drawing is made in memory: nothing is written until Figure.save.
"""

from __future__ import annotations

import os
from dataclasses import dataclass, field

from . import _gridel

__all__ = ["draw", "Figure", "Diagnostic", "DiagramError", "formats", "__version__"]

__version__ = _gridel.version().split()[-1]

# The name a diagram given as text takes in messages and titles.
_textname = "gl-diagram.txt"


@dataclass(frozen=True)
class Diagnostic:
    """A problem with the diagram: where it is and what it says."""

    path: str
    """The file as the report names it ("" for none)."""
    line: int
    """Its line, 1 for the first; 0 for the file as a whole."""
    column: int
    """The byte of the line where the word at fault begins; 0 for none."""
    severity: str
    """"error" or "warning"."""
    message: str
    """The text after "error: " or "warning: "."""
    notes: list[str] = field(default_factory=list)
    """Hints that go with it."""
    headline: str = ""
    """The report's line: "PATH:LINE:COLUMN: warning: MESSAGE"."""

    def __str__(self) -> str:
        return self.headline


class DiagramError(Exception):
    """A diagram that could not be drawn because its file is wrong.

    str() is the program's "PATH:LINE:COLUMN: error: MESSAGE" line; the
    whole report, with the line quoted and the notes, is in `report`.
    """

    def __init__(self, diagnostic: Diagnostic | None, report: str, log: str) -> None:
        headline = diagnostic.headline if diagnostic else report.strip().split("\n")[0]
        super().__init__(headline)
        self.path = diagnostic.path if diagnostic else ""
        self.line = diagnostic.line if diagnostic else 0
        self.column = diagnostic.column if diagnostic else 0
        self.message = diagnostic.message if diagnostic else headline
        self.notes = list(diagnostic.notes) if diagnostic else []
        self.report = report
        self.log = log


class Figure:
    """A drawn diagram: its drawings as bytes, its log and its warnings."""

    def __init__(self, value: dict) -> None:
        self._outputs: dict[str, bytes] = value["outputs"]
        self._names: dict[str, str] = value["names"]
        self.log: str = value["log"]
        """The run's log, as the program writes it."""
        self.logname: str = value["logname"]
        self.screen: str = value["screen"]
        """What the program writes on standard output."""
        self.warnings: list[Diagnostic] = [
            Diagnostic(**d) for d in value["diagnostics"] if d["severity"] == "warning"
        ]
        """The warnings, as `gridel --check` lists them."""

    @property
    def eps(self) -> bytes | None:
        """The EPS drawing (always made, unless the file said "kill")."""
        return self._outputs.get("eps")

    @property
    def pdf(self) -> bytes | None:
        """The PDF drawing, when "pdf" was among the formats."""
        return self._outputs.get("pdf")

    @property
    def svg(self) -> bytes | None:
        """The SVG drawing, when "svg" was among the formats."""
        return self._outputs.get("svg")

    @property
    def png(self) -> bytes | None:
        """The PNG drawing, when "png" was among the formats."""
        return self._outputs.get("png")

    def _repr_svg_(self) -> str | None:
        return self.svg.decode("utf-8") if self.svg is not None else None

    def _repr_png_(self) -> bytes | None:
        return self.png

    def save(self, stem: str | os.PathLike) -> list[str]:
        """Write the drawings and the log as stem.eps, stem.svg, ..., stem.log.

        They are written as one set: each under a temporary name beside its
        final one, made durable, and renamed only once all are written, so
        that a save that fails leaves every earlier file as it was.  The
        names written, the log last.
        """
        stem = os.fspath(stem)
        files = [(stem + os.path.splitext(self._names[f])[1], b) for f, b in self._outputs.items()]
        files.append((stem + ".log", self.log.encode("utf-8", "surrogateescape")))
        temporaries: list[tuple[str, str]] = []
        try:
            for final, data in files:
                folder = os.path.dirname(final) or "."
                temp = os.path.join(folder, "." + os.path.basename(final) + ".%d.tmp" % os.getpid())
                with open(temp, "wb") as out:
                    temporaries.append((temp, final))
                    out.write(data)
                    out.flush()
                    os.fsync(out.fileno())
            for temp, final in temporaries:
                os.replace(temp, final)
            for folder in {os.path.dirname(final) or "." for _, final in temporaries}:
                handle = os.open(folder, os.O_RDONLY)
                try:
                    os.fsync(handle)
                finally:
                    os.close(handle)
        except BaseException:
            for temp, _ in temporaries:
                if os.path.exists(temp):
                    os.unlink(temp)
            raise
        return [final for final, _ in files]

    def __repr__(self) -> str:
        return "<gridel.Figure %s>" % ", ".join(sorted(self._outputs))


def _read(source) -> tuple[bytes, str, str | None]:
    """The text of a source, its name and the folder its preferences are in."""
    if hasattr(source, "read"):
        data = source.read()
        name = getattr(source, "name", None)
        name = os.path.basename(name) if isinstance(name, str) and name else _textname
        return (data.encode("utf-8") if isinstance(data, str) else bytes(data)), name, None
    if isinstance(source, bytes):
        return source, _textname, None
    if isinstance(source, str) and ("\n" in source or "\r" in source):
        return source.encode("utf-8"), _textname, None
    path = os.fspath(source)
    with open(path, "rb") as f:
        return f.read(), path, os.path.dirname(path) or "."


def _lines(style) -> list[str]:
    """The lines of a style file given as a path, text or a file object."""
    if style is None:
        return []
    if hasattr(style, "read"):
        text = style.read()
    elif isinstance(style, str) and ("\n" in style or "\r" in style):
        text = style
    else:
        with open(os.fspath(style), "rb") as f:
            text = f.read()
    if isinstance(text, bytes):
        text = text.decode("utf-8", "surrogateescape")
    return text.splitlines()


def draw(source, formats=("svg",), style=None, set=(), dpi=None, *, crop=False, name=None) -> Figure:
    """Draw a diagram and return its Figure.

    source: a data file's path, its text (a str with line ends, or bytes) or
        a file object.  A path's folder gives the preferences (gl-prefs.txt)
        when it has them, as it does for the program.
    formats: the drawings besides the EPS, which is always made: any of
        "pdf", "svg", "png".
    style: a style file (path, text or file object) whose lines are read
        after the data file's script.
    set: single script lines read after those, such as "numbering no".
    dpi: the PNG resolution (10 to 600; 150 when None).
    crop: cut every drawing to the drawn content.
    name: the data file's name in messages and titles (for a text).

    Raises DiagramError when the file is wrong, ValueError for an unknown
    format or resolution, OSError when an output could not be made.
    """
    if isinstance(formats, str):
        formats = (formats,)
    text, shown, folder = _read(source)
    preferences = b""
    if folder is not None:
        try:
            with open(os.path.join(folder, "gl-prefs.txt"), "rb") as f:
                preferences = f.read()
        except FileNotFoundError:
            pass
    if isinstance(set, str):
        set = (set,)
    lines = _lines(style) + [str(line) for line in set]
    value = _gridel.draw(
        text,
        name if name is not None else shown,
        preferences,
        [str(f) for f in formats],
        lines,
        150 if dpi is None else int(dpi),
        bool(crop),
    )
    if value["status"] == 0:
        return Figure(value)
    errors = [Diagnostic(**d) for d in value["diagnostics"] if d["severity"] == "error"]
    if value["status"] == 1:
        raise DiagramError(errors[-1] if errors else None, value["errors"], value["log"])
    raise OSError(value["errors"].strip() or "gridel: the drawing could not be made")


def formats() -> list[str]:
    """The formats a drawing can be made in."""
    return _gridel.formats()
