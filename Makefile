# The two commands of the project: `make run` and `make test`.
.PHONY: run test setup build bench-listing clean reliability

setup:
	@bash scripts/setup.sh

build: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j$$(nproc)

run: build
	@bash scripts/run.sh

test: setup
	@bash scripts/test.sh

# Sanitizers, bad-input figures, longer fuzzing and the no-data-loss runs
# under Wine, summed up in one table with a verdict.
reliability: setup
	@bash scripts/reliability.sh

clean:
	rm -rf build
