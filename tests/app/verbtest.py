"""What the verb tests share: running `mirt [VERB] ARGS` in a work folder, collecting
failures instead of stopping at the first, reading --json back, and checking that bad
input is refused with one line "mirt VERB: ..." and nothing on standard output."""
import json
import subprocess
import sys


class Verbs:
    def __init__(self, mirt, work, *verb):
        self.mirt, self.work, self.verb = mirt, work, list(verb)
        self.failures = []

    def _name(self, args):
        return "mirt " + " ".join([*self.verb, *args])

    def run(self, *args, rc=0):
        p = subprocess.run([self.mirt, *self.verb, *args], cwd=self.work, capture_output=True, text=True)
        if p.returncode != rc:
            self.failures.append(f"{self._name(args)}: exit {p.returncode}, expected {rc}\n{p.stdout}{p.stderr}")
        return p.stdout, p.stderr

    def check(self, cond, what):
        if not cond:
            self.failures.append(what)

    def js(self, *args, rc=0):
        out, err = self.run(*args, "--json", rc=rc)
        try:
            return json.loads(out)
        except ValueError as e:
            self.failures.append(f"{self._name(args)} --json is not JSON ({e}):\n{out}{err}")
            return {}

    def refused(self, want, *args, rc=1):
        """One line on stderr naming the verb and containing `want`, nothing on stdout."""
        out, err = self.run(*args, rc=rc)
        verb = [*self.verb, *args][0]
        self.check(err.count("\n") == 1 and err.startswith(f"mirt {verb}: ") and want in err and out == "",
                   f"{self._name(args)}: expected one line with '{want}', got:\n{out}{err}")

    def finish(self, *tests):
        for test in tests:
            test()
        if self.failures:
            print("\n".join(self.failures))
            sys.exit(1)
        print("ok")
