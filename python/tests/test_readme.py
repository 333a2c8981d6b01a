"""The README's example of the module runs as shown, in a copy of the
bundled examples."""

import contextlib
import io
import re

from conftest import SOURCE


def test_the_readme_example_runs(examples):
    readme = (SOURCE / "README.md").read_text(encoding="utf-8")
    section = readme.split("## From Python", 1)[1]
    code = re.search(r"```python\n(.*?)```", section, re.S).group(1)
    assert len(code.splitlines()) < 20
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        exec(compile(code, "README.md", "exec"), {})
    assert "example.txt [" in printed.getvalue()
    assert re.search(r"logistic +0\.\d{4}", printed.getvalue())
