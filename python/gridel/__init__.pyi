# Typing stubs of the gridel package: an editor completes and explains the calls.
import os
from dataclasses import dataclass
from typing import BinaryIO, Iterable, TextIO

__version__: str

@dataclass(frozen=True)
class Diagnostic:
    """A problem with the diagram: where it is and what it says."""
    path: str
    line: int
    column: int
    severity: str
    message: str
    notes: list[str]
    headline: str

class DiagramError(Exception):
    """A diagram that could not be drawn: str() is "PATH:LINE:COLUMN: error: MESSAGE"."""
    path: str
    line: int
    column: int
    message: str
    notes: list[str]
    report: str
    log: str

class Figure:
    """A drawn diagram: its drawings as bytes, its log and its warnings."""
    log: str
    logname: str
    screen: str
    warnings: list[Diagnostic]
    @property
    def eps(self) -> bytes | None: ...
    @property
    def pdf(self) -> bytes | None: ...
    @property
    def svg(self) -> bytes | None: ...
    @property
    def png(self) -> bytes | None: ...
    def _repr_svg_(self) -> str | None: ...
    def _repr_png_(self) -> bytes | None: ...
    def save(self, stem: str | os.PathLike[str]) -> list[str]:
        """Write the drawings and the log as stem.eps, ..., stem.log, as one set."""

def draw(
    source: str | bytes | os.PathLike[str] | TextIO | BinaryIO,
    formats: Iterable[str] | str = ("svg",),
    style: str | os.PathLike[str] | TextIO | BinaryIO | None = None,
    set: Iterable[str] | str = (),
    dpi: int | None = None,
    *,
    crop: bool = False,
    name: str | None = None,
) -> Figure:
    """Draw a diagram (a path, its text or a file object) in memory and return its Figure."""

def formats() -> list[str]:
    """The formats a drawing can be made in."""
