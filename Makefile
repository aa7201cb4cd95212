# The two commands of the project: `make run` and `make test`.
.PHONY: run test setup build clean reliability dist

setup:
	@bash scripts/setup.sh

# Both Windows builds (32-bit and 64-bit).
build: setup
	@for preset in win32 win64; do cmake --preset $$preset >/dev/null && cmake --build --preset $$preset -j$$(nproc) || exit 1; done

run: setup
	@bash scripts/run.sh

test: setup
	@bash scripts/test.sh

# Sanitizers, longer fuzzing and the no-data-loss runs (in memory and
# on real files under Wine), summed up in one table with a verdict.
reliability: setup
	@bash scripts/reliability.sh

# The two release packages, build/dist/*-x86.zip and *-x64.zip.
dist: build
	@bash scripts/dist.sh

clean:
	rm -rf build
